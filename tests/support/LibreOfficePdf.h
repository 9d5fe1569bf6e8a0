#pragma once

#include <QString>
#include <QStringList>

namespace testsupport {

// Exports workbooks to PDF as LibreOffice prints them ("soffice --headless --convert-to pdf",
// in a private profile of its own), into outdir, one PDF per workbook named after it; another
// format (such as png, for pictures) where one is given. Returns what went wrong, or the empty
// text.
QString exportWithLibreOffice(const QStringList& workbooks, const QString& outdir,
                              const QString& format = QStringLiteral("pdf"));

} // namespace testsupport
