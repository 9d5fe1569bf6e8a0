// tessaly-xls: shows what the spreadsheet engine reads from a workbook, for diagnosis.
//
//   tessaly-xls sheets FILE   the sheet names, one a line, in order
//   tessaly-xls cells FILE    every cell that holds a value: sheet name, row and column (from
//                             1) and the text the cell shows, tab-separated, in sheet, row and
//                             column order
//
// On any error it prints one line to standard error and exits with 1.

#include "platform/FileName.h"
#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QString>

#include <cstdio>

namespace {

constexpr char kUsage[] = "usage: tessaly-xls sheets|cells FILE";

// One field of output: a backslash, tab or line break inside it is written as \\, \t or \n,
// so that every record stays on one line.
QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QLatin1String("\\t");
        else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            continue; // CR LF is one line break
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            out += QLatin1String("\\n");
        else
            out += c;
    }
    return out;
}

void printLine(const QString& line) {
    const QByteArray bytes = line.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

void printSheets(const xls::Workbook& workbook) {
    for (const xls::Sheet& sheet : workbook.sheets())
        printLine(escaped(sheet.name()));
}

void printCells(const xls::Workbook& workbook) {
    const xls::CellText cellText(workbook);
    for (const xls::Sheet& sheet : workbook.sheets()) {
        const QString name = escaped(sheet.name());
        for (const xls::Cell& cell : sheet.cells()) {
            if (cell.type() == xls::CellType::Blank)
                continue;
            printLine(QStringLiteral("%1\t%2\t%3\t%4")
                          .arg(name)
                          .arg(cell.row() + 1)
                          .arg(cell.column() + 1)
                          .arg(escaped(cellText.text(cell))));
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    const bool sheets = argc == 3 && qstrcmp(argv[1], "sheets") == 0;
    const bool cells = argc == 3 && qstrcmp(argv[1], "cells") == 0;
    if (!sheets && !cells) {
        std::fprintf(stderr, "%s\n", kUsage);
        return 1;
    }
    const QString path = platform::decodeFileName(QByteArray(argv[2]));
    try {
        const xls::IconvCodePages codePages;
        const xls::Workbook workbook = xls::WorkbookReader(codePages).readFile(path);
        if (sheets)
            printSheets(workbook);
        else
            printCells(workbook);
    } catch (const xls::ReadError& error) {
        std::fprintf(stderr, "tessaly-xls: %s: %s\n", argv[2],
                     error.message().toUtf8().constData());
        return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
