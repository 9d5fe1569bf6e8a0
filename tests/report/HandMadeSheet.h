#pragma once

// Hand-made sheets and pages for the layout and painting tests.

#include "report/PageLayout.h"
#include "xls/Workbook.h"

#include <QList>
#include <QPointF>

namespace handmade {

constexpr double kRow = 21;    // the points of a row and a column on a hand-made page: 28 and 80
constexpr double kColumn = 60; // pixels at 96 dots per inch, as the spreadsheet lays them out
const QPointF kOrigin(10, 10);

// A sheet of hand-made cells and the formats they name.
struct Book {
    xls::Workbook workbook;
    Book() {
        workbook.setFonts({xls::Font{}});
        workbook.setCellFormats({xls::CellFormat{}});
        workbook.sheets().emplace_back(QStringLiteral("S"), xls::SheetKind::Worksheet,
                                       xls::SheetVisibility::Visible);
    }
    xls::Sheet& sheet() { return workbook.sheets().front(); }
    int addFormat(const xls::CellFormat& format) {
        QList<xls::CellFormat> formats = workbook.cellFormats();
        formats.append(format);
        workbook.setCellFormats(formats);
        return static_cast<int>(formats.size()) - 1;
    }
};

// Rows and columns shown on the page, each kRow by kColumn points; the first titleRows rows
// and titleColumns columns are print titles.
inline report::LaidOutPage pageOf(const QList<int>& rows, const QList<int>& columns,
                                  int titleRows = 0, int titleColumns = 0) {
    report::LaidOutPage page;
    double offset = 0;
    for (const int row : rows) {
        page.rows.append({row, offset, kRow, page.rows.size() < titleRows});
        offset += kRow;
    }
    const double height = offset;
    offset = 0;
    for (const int column : columns) {
        page.columns.append({column, offset, kColumn, page.columns.size() < titleColumns});
        offset += kColumn;
    }
    page.origin = kOrigin;
    page.blockSize = {offset, height};
    return page;
}

} // namespace handmade
