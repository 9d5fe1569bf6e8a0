#include "FileUrl.h"

#include "platform/FileName.h"

namespace office {

QString fileUrl(const QString& absolutePath) {
    const QByteArray encoded =
        platform::encodeFileName(absolutePath).toPercentEncoding(QByteArrayLiteral("/"));
    return QStringLiteral("file://") + QString::fromLatin1(encoded);
}

} // namespace office
