#pragma once

#include <QString>

namespace basToolsAp {

// The text after the last "." of strPath, letter case kept; the whole text when it holds no ".".
// Separators are ordinary characters here, so a dot in a folder name counts.
QString GetExtName(const QString& strPath);

} // namespace basToolsAp
