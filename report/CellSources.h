#pragma once

namespace xls {
class CellText;
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class CellFonts;
class PrintOptions;
class SheetMetrics;

// What the layout of a sheet's cells reads.
struct CellSources {
    const xls::Workbook& workbook;
    const xls::Sheet& sheet;
    const SheetMetrics& metrics;
    const CellFonts& fonts;
    const xls::CellText& cellText;
    const PrintOptions& options; // the sheet's black and white and error printing
};

} // namespace report
