#pragma once

#include "Chart.h"
#include "Workbook.h"

namespace xls {

// Gives the charts of a workbook (embedded ones and chart sheets) the values of the cells their
// series and linked titles refer to, on any sheet of the workbook. Where a reference cannot be
// followed (another workbook, a sheet that is not there or not a worksheet), the chart keeps
// the values it cached itself.
class ChartValues {
public:
    // The charts are shared with the sheets, which keep them; the workbook itself is unchanged.
    static void resolve(const Workbook& workbook);
};

} // namespace xls
