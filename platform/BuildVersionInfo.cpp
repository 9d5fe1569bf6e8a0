#include "BuildVersionInfo.h"

#include "FileName.h"
#include "TessalyBuildInfo.h"

#include <climits>
#include <unistd.h>

namespace platform {

BuildVersionInfo::BuildVersionInfo() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0)
        return;
    const QString path = decodeFileName(QByteArray(buffer, static_cast<qsizetype>(length)));
    const qsizetype slash = path.lastIndexOf(u'/');
    m_exeFolder = path.left(slash);
    const QString fileName = path.mid(slash + 1);
    const qsizetype dot = fileName.lastIndexOf(u'.');
    m_exeBaseName = dot > 0 ? fileName.left(dot) : fileName;
}

QString BuildVersionInfo::productName() const {
    return QString::fromUtf16(TESSALY_PRODUCT_NAME);
}
int BuildVersionInfo::major() const {
    return TESSALY_VERSION_MAJOR;
}
int BuildVersionInfo::minor() const {
    return TESSALY_VERSION_MINOR;
}
int BuildVersionInfo::revision() const {
    return TESSALY_VERSION_REVISION;
}
QString BuildVersionInfo::legalCopyright() const {
    return QString::fromUtf16(TESSALY_COPYRIGHT);
}

} // namespace platform
