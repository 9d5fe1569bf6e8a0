#pragma once

#include "Chart.h"
#include "Workbook.h"

#include <QByteArray>
#include <QList>

#include <functional>

namespace xls {

// Reads the formula of a series' or a text's reference: cell and area references, 3-D or not,
// and lists of them. Each area names the sheet it lies on; a reference whose sheet cannot be
// told (into another workbook, or without one) gets sheet -1, and a formula that holds
// anything else gives no areas, so that the chart keeps its own cached values.
class ChartReference {
public:
    // Maps the sheet part of a 3-D reference (an EXTERNSHEET index) to a sheet index, or -1.
    using SheetOf = std::function<int(int)>;

    ChartReference(BiffVersion version, SheetOf sheetOf);

    QList<ChartArea> areas(const QByteArray& formula) const;

private:
    BiffVersion m_version;
    SheetOf m_sheetOf;
};

} // namespace xls
