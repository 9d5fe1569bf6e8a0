// tessaly-xls: shows what the spreadsheet engine reads from a workbook, for diagnosis.
//
//   tessaly-xls sheets FILE   the sheet names, one a line, in order
//   tessaly-xls cells FILE    every cell that holds a value: sheet name, row and column (from
//                             1) and the text the cell shows, tab-separated, in sheet, row and
//                             column order
//   tessaly-xls pdf OUTDIR FILE...
//                             prints every visible sheet of each workbook through the report
//                             printer into OUTDIR/<file name without .xls>.pdf
//   tessaly-xls print PRINTER FILE...
//                             prints every visible sheet of each workbook as one job on that
//                             printer
//
// pdf and print drive the engine and the report printer through the print run's report path,
// rendering on every core; they need no display. On any error it prints one line to standard
// error and exits with 1; pdf and print stop at the first workbook that fails, and nothing
// after it is printed or written.

#include "platform/CupsPrintSpooler.h"
#include "platform/FileName.h"
#include "print/ReportPrintPath.h"
#include "report/XlsReport.h"
#include "xls/CellText.h"
#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"
#include "xls/XlsEngine.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QString>
#include <QThreadPool>

#include <cstdio>

namespace {

constexpr char kUsage[] =
    "usage: tessaly-xls sheets|cells FILE | pdf OUTDIR FILE... | print PRINTER FILE...";

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

// Qt's notes and warnings (a missing runtime folder, font fallbacks) are not the tool's
// output: standard error carries its one error line only.
void quietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tessaly-xls: %s\n", message.toUtf8().constData());
}

// The pdf and print verbs: argv[2] is the folder or the printer, the workbooks follow.
int printVerb(int argc, char** argv, bool toPdf) {
    qInstallMessageHandler(quietQtMessages);
    // Fonts need a GUI application; without a display the offscreen platform serves.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication application(argc, argv);
    const QString target = platform::decodeFileName(QByteArray(argv[2]));
    if (toPdf && !QFileInfo(target).isDir()) {
        std::fprintf(stderr, "tessaly-xls: %s: not a folder\n", argv[2]);
        return 1;
    }
    const xls::IconvCodePages codePages;
    xls::XlsEngine engine(codePages);
    platform::CupsPrintSpooler spooler;
    report::XlsReport reportPrinter(codePages, spooler);
    if (toPdf)
        reportPrinter.setOutputFolder(target);
    print::PrintItems items;
    QHash<QString, const char*> given; // each workbook's full path to the name given
    for (int i = 3; i < argc; ++i) {
        const QString path =
            QFileInfo(platform::decodeFileName(QByteArray(argv[i]))).absoluteFilePath();
        items.append({path, true});
        given.insert(path, argv[i]);
    }
    print::PrintProgress progress;
    QThreadPool threads;
    const print::PathResult result = print::PrintWithReport(
        engine, reportPrinter, items, !toPdf, toPdf ? QString() : target, progress, threads);
    if (result.outcome != print::PathResult::Outcome::Completed) {
        std::fprintf(stderr, "tessaly-xls: %s: %s\n", given.value(result.failedFile, ""),
                     result.cause.toUtf8().constData());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const bool pdf = argc >= 4 && qstrcmp(argv[1], "pdf") == 0;
    const bool print = argc >= 4 && qstrcmp(argv[1], "print") == 0;
    if (pdf || print)
        return printVerb(argc, argv, pdf);
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
