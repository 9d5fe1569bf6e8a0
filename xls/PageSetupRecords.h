#pragma once

#include "PageSetup.h"
#include "RecordStream.h"
#include "Strings.h"
#include "Workbook.h"

namespace xls {

// Decodes a sheet's page setup records (SETUP, margins, centring, header and footer, print
// options, page breaks) into its page setup. Their numbers are the same in every version of
// the file format; what differs (the length of a header's text, the span of a page break, the
// fields that Excel 4.0's SETUP lacks) follows the version.
class PageSetupRecords {
public:
    // Reads record into page when it is a page setup record; other records are left alone.
    // Throws ReadError (Corrupt) for a record shorter than its fields, after setting what it
    // had read.
    static void read(const Record& record, BiffVersion version, const Strings& strings,
                     PageSetup& page);
};

} // namespace xls
