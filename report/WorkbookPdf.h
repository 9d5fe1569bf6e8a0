#pragma once

#include "RenderControl.h"
#include "WorkbookSource.h"

#include <QString>
#include <QStringList>

namespace xls {
class ICodePages;
}

namespace report {

class TextShaper;

// Reads the workbook of source through the engine's reader, unless source holds it read
// already, and paints the named sheets into
// a PDF file at pdfPath, titled with the workbook's file name, in the order named. Only
// visible worksheets add pages, as the spreadsheet prints a workbook: hidden and very hidden
// sheets, charts, macro sheets and modules are left out. Returns the pages painted; with none,
// no file is written. The text is shaped by shaper, or by a shaper of its own when none is
// given. Throws ReportError when the workbook cannot be read, a sheet name is not
// the workbook's or the file cannot be written, RenderStopped when control stops it.
int writeWorkbookPdf(const xls::ICodePages& codePages, const WorkbookSource& source,
                     const QStringList& sheetNames, const QString& pdfPath,
                     const RenderControl& control = {}, const TextShaper* shaper = nullptr);

} // namespace report
