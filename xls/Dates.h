#pragma once

#include "Workbook.h"

#include "xls/format/NumberFormat.h"

namespace xls {

// The date system in which the workbook's serial numbers count days: from 1900-01-00, with
// Excel's leap day 1900-02-29, or from 1904-01-01 (DATEMODE record).
inline DateSystem dateSystemOf(const Workbook& workbook) {
    return workbook.uses1904Dates() ? DateSystem::Base1904 : DateSystem::Base1900;
}

} // namespace xls
