#pragma once

#include "ICodePages.h"
#include "RecordReader.h"
#include "RichText.h"
#include "Workbook.h"

#include <QHash>
#include <QList>
#include <QString>

#include <vector>

namespace xls {

// A cell text with the font runs and phonetic guide it carries (both empty for most texts).
struct FormattedString {
    QString text;
    RichText rich;
};

// The shared string table: the texts, and for those that carry runs or a phonetic guide, the
// index of their RichText in the workbook's table.
struct SharedStrings {
    QList<QString> texts;
    QHash<quint32, int> richTextOf;
};

// The strings of a workbook stream. Excel 97-2003 strings are Unicode: a length, a flag byte
// (16-bit or 8-bit characters, formatting runs, phonetic text) and the characters, then the
// runs and the phonetic text. Excel 5.0/95 strings are bytes in the workbook's code page.
class Strings {
public:
    Strings(BiffVersion version, const ICodePages& codePages);

    BiffVersion version() const { return m_version; }
    void setCodePage(int codePage) { m_codePage = codePage; }

    // A string with an 8-bit length (sheet and font names, BIFF5 format codes, headers).
    QString shortString(RecordReader& reader) const;
    // A string with a 16-bit length (cell texts, BIFF8 format codes and headers).
    QString longString(RecordReader& reader) const;
    // A string of count characters whose length came before it (BIFF8: the flag byte first).
    QString stringOfLength(RecordReader& reader, qsizetype count) const;
    // The text of an RSTRING cell and its font runs, which follow it.
    FormattedString formattedString(RecordReader& reader) const;

    // The shared string table of an SST record and its CONTINUE records (BIFF8 only). The
    // rich texts of its strings are appended to richTexts.
    static SharedStrings sharedStrings(RecordReader& reader, std::vector<RichText>& richTexts);

private:
    BiffVersion m_version;
    const ICodePages& m_codePages;
    int m_codePage = 1252;
};

} // namespace xls
