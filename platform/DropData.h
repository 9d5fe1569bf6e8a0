#pragma once

#include <QMimeData>
#include <QStringList>

namespace platform {

// The file list of dragged data: the local files among its URLs, in the order the data gives them.
QStringList dropFileList(const QMimeData& data);
// Whether the data offers a file list at all.
bool offersFileList(const QMimeData& data);

} // namespace platform
