#pragma once

#include <QString>

#include <stdexcept>

namespace xls {

// Why a workbook could not be read, or why the engine refused a call. Every failure of the
// reader and of the engine control is one of these, with a message fit to show a person.
class ReadError : public std::runtime_error {
public:
    enum class Kind {
        FileNotFound,       // no file of that name
        CannotOpen,         // the file exists but cannot be opened or read (rights, a folder, I/O)
        NotAWorkbook,       // readable, but not an Excel 2.x to 2003 workbook
        UnsupportedVersion, // a workbook of a format this engine does not read
        Encrypted,          // protected by a password to open
        Corrupt,            // a damaged container or workbook stream
        NoWorkbookOpen,     // the engine was asked about a workbook before one was opened
        NoSuchSheet,        // the engine was asked for a sheet index that the workbook lacks
    };

    ReadError(Kind kind, const QString& message);

    Kind kind() const { return m_kind; }
    QString message() const { return m_message; }

private:
    Kind m_kind;
    QString m_message;
};

} // namespace xls
