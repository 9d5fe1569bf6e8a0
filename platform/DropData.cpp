#include "DropData.h"

#include "FileName.h"

namespace platform {

QStringList dropFileList(const QMimeData& data) {
    QStringList paths;
    if (!data.hasUrls())
        return paths;
    for (const QUrl& url : data.urls()) {
        const QString path = localFilePath(url);
        if (!path.isEmpty())
            paths.append(path);
    }
    return paths;
}

bool offersFileList(const QMimeData& data) {
    return !dropFileList(data).isEmpty();
}

} // namespace platform
