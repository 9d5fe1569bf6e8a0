#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace xls {

// The container of an .xls file: a compound file (read with libgsf) whose "Workbook" stream
// (Excel 97 to 2003) or "Book" stream (Excel 5.0/95) holds the workbook's records. A bare
// workbook stream without a container, as some programs write and as Excel 2.x to 4.0 files
// are, is taken as it is. Other files
// are recognised as well as they can be, so that the error says what they are.
class CompoundFile {
public:
    // The workbook stream of the file at path. Throws ReadError: FileNotFound, CannotOpen,
    // NotAWorkbook, UnsupportedVersion or Corrupt.
    static QByteArray readWorkbookStream(const QString& path);
    // The workbook stream of a whole file held in memory; throws as above, less the kinds
    // that only a file on disk can raise.
    static QByteArray workbookStreamOf(QByteArrayView file);
};

} // namespace xls
