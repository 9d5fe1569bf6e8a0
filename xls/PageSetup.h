#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace xls {

enum class Orientation { Portrait, Landscape };
// The order in which pages are numbered and printed when a sheet is both wider and taller
// than one page.
enum class PageOrder { DownThenOver, OverThenDown };
// Whether and where comments print: not at all, as their boxes where the sheet shows them, or
// as a list after the sheet's pages.
enum class CommentPrinting { None, AsDisplayed, AtEnd };
// What a cell showing an error prints: the error as displayed, nothing, "--" or "#N/A".
enum class PrintErrors { Displayed, Blank, Dashes, NotAvailable };

// How a sheet prints: what its SETUP, margin, centring, header and footer, page-break and
// print-option records say, with Excel's defaults for records that are missing.
struct PageSetup {
    // Excel's paper size code (1 Letter, 8 A3, 9 A4, 13 B5, ...); 0 when the file leaves it
    // to the printer.
    int paperSize = 0;
    Orientation orientation = Orientation::Portrait;
    int scale = 100; // in percent; used unless fitToPages
    bool fitToPages = false;
    int fitWidth = 1;                   // pages wide when fitToPages; 0 means as many as needed
    int fitHeight = 1;                  // pages tall when fitToPages; 0 means as many as needed
    std::optional<int> firstPageNumber; // absent: numbering starts at 1
    PageOrder pageOrder = PageOrder::DownThenOver;

    // In inches.
    double leftMargin = 0.75;
    double rightMargin = 0.75;
    double topMargin = 1.0;
    double bottomMargin = 1.0;
    double headerMargin = 0.5;
    double footerMargin = 0.5;
    bool centerHorizontally = false;
    bool centerVertically = false;

    // Header and footer as Excel stores them: sections &L, &C and &R, with codes such as &P
    // (page number), &N (page count), &D, &T, &F, &A, &"font,style", &nn (size) and && for
    // "&". Empty when the sheet has none.
    QString header;
    QString footer;

    // Manual page breaks: a new page starts at each of these rows (columns), from 0, in
    // increasing order.
    QList<int> rowBreaks;
    QList<int> columnBreaks;

    bool printGridlines = false;
    bool printHeadings = false; // row numbers and column letters
    CommentPrinting comments = CommentPrinting::None;
    PrintErrors printErrors = PrintErrors::Displayed;
    bool blackAndWhite = false; // text, lines and borders in black; no cell fills
    bool draft = false;         // no gridlines and no drawing objects
};

} // namespace xls
