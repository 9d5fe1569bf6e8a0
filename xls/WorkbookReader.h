#pragma once

#include "ICodePages.h"
#include "Workbook.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace xls {

// Reads Excel 97-2003 (BIFF8) and Excel 5.0/95 (BIFF5) workbooks into the workbook model, and
// hands Excel 2.x to 4.0 files to OldBiffReader.
// Every file is untrusted: whatever it holds, reading ends in a workbook or in a ReadError,
// never in a read outside the data, and the model never grows beyond what the file's
// records describe.
class WorkbookReader {
public:
    explicit WorkbookReader(const ICodePages& codePages);

    // The workbook in the file at path (the file is only read).
    Workbook readFile(const QString& path) const;
    // The workbook in a whole .xls file held in memory.
    Workbook readFileImage(QByteArrayView file) const;
    // The workbook in a workbook stream, the records that the file's container holds.
    Workbook readStream(QByteArrayView stream) const;

private:
    // Reads a workbook stream, decrypting it in place first when it is encrypted.
    Workbook read(QByteArray& stream) const;

    const ICodePages& m_codePages;
};

} // namespace xls
