#include "basToolsAp.h"

namespace basToolsAp {

QString GetExtName(const QString& strPath) {
    const qsizetype dot = strPath.lastIndexOf(u'.');
    return dot < 0 ? strPath : strPath.mid(dot + 1);
}

} // namespace basToolsAp
