#pragma once

#include <QList>
#include <QString>

namespace print {

// One item of the workbook list as a print run reads it: the workbook's full path and whether
// it is ticked.
struct PrintItem {
    QString text;
    bool checked = false;
};

using PrintItems = QList<PrintItem>;

// How many items are ticked.
qsizetype tickedCount(const PrintItems& items);

} // namespace print
