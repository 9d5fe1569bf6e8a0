#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QString>

namespace xls {
struct Font;
}

namespace report {

// What the codes of a header or footer stand for on one page.
struct HeaderFooterFields {
    int page = 1;       // &P
    int pageCount = 1;  // &N
    QString sheetName;  // &A
    QString fileName;   // &F: the workbook's file name without its folder
    QString folderPath; // &Z: the workbook's folder
    QDateTime printed;  // &D and &T
};

// A run of text in one font.
struct HeaderFooterRun {
    QString text;
    QString fontName; // the workbook's font name, mapped to an installed font by the painter
    double pointSize = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool doubleUnderline = false;
    bool strikeout = false;
    bool superscript = false;
    bool subscript = false;
    QColor color;         // from &K; invalid for the automatic colour, black
    bool picture = false; // &G: the section's picture stands here, in place of text
};

using HeaderFooterLine = QList<HeaderFooterRun>;

// One of the three sections: its lines, top to bottom.
struct HeaderFooterSection {
    QList<HeaderFooterLine> lines;
    bool isEmpty() const { return lines.isEmpty(); }
};

struct HeaderFooterText {
    HeaderFooterSection left;
    HeaderFooterSection center;
    HeaderFooterSection right;
};

// Expands a header or footer as the file stores it (&L, &C, &R sections; &P, &N, &A, &F, &Z,
// &D, &T, &&, &"font,style", &nn size, &B, &I, &U, &E, &S, &X, &Y, &P+n or &P-n for the page
// number plus or minus n, &K colours, and &G for the section's picture) into styled runs. Text
// before any section code belongs to the centre section. defaultFont is the workbook's default
// font, which runs start in. A colour is &Krrggbb, or &KttSnnn for theme colour tt (decimal,
// indexed as cells index theme colours: 0 light 1, 1 dark 1, 2 light 2, 3 dark 2, 4 to 9 accents 1
// to 6, 10 hyperlink, 11 followed hyperlink; in the default theme's colours) made lighter (S "+")
// or darker ("-") by nnn percent.
HeaderFooterText expandHeaderFooter(const QString& code, const HeaderFooterFields& fields,
                                    const xls::Font& defaultFont);

} // namespace report
