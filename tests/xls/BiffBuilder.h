#pragma once

#include "xls/Workbook.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace xlstest {

QByteArray u8(int value);
QByteArray u16(int value);
QByteArray u32(quint32 value);
QByteArray f64(double value);
// An Excel 97-2003 string: its length in lengthBytes (1 or 2), a flag byte, the characters,
// 16-bit when wide, else 8-bit.
QByteArray unicodeString(const QString& text, int lengthBytes, bool wide = false);
// Characters as 16-bit code units, with no length or flags.
QByteArray utf16(const QString& text);

// Builds workbook streams record by record, for inputs that no writer produces. The offsets
// in BOUNDSHEET records are filled in with the positions of the sheets' BOF records.
class BiffBuilder {
public:
    explicit BiffBuilder(xls::BiffVersion version = xls::BiffVersion::Biff8);

    BiffBuilder& record(quint16 code, const QByteArray& data);
    // A BOF of the workbook globals (type 5) or of a worksheet (0x10) or chart (0x20).
    BiffBuilder& bof(int type);
    BiffBuilder& eof() { return record(0x000A, {}); }
    // A BOUNDSHEET record whose offset is filled in by the nth sheetBof() call.
    BiffBuilder& boundSheet(const QByteArray& encodedName, int visibility = 0, int kind = 0);
    BiffBuilder& boundSheet(const QString& name, int visibility = 0, int kind = 0);
    // The BOF of the next sheet that a BOUNDSHEET names.
    BiffBuilder& sheetBof(int type = 0x10);

    // A one-sheet workbook: globals with the given records, then a sheet holding the others.
    static QByteArray workbook(const QList<QByteArray>& globalRecords,
                               const QList<QByteArray>& sheetRecords,
                               xls::BiffVersion version = xls::BiffVersion::Biff8);
    // One encoded record, for workbook().
    static QByteArray encoded(quint16 code, const QByteArray& data);

    QByteArray stream() const;

private:
    xls::BiffVersion m_version;
    QByteArray m_stream;
    QList<qsizetype> m_boundSheetAt; // where each BOUNDSHEET's offset field is
    QList<qsizetype> m_sheetAt;      // where each sheet's BOF is
};

// An SST record of count strings, as many unique as in all, and a LABELSST cell (format 15)
// showing the shared string index: both encoded, for workbook().
QByteArray sstRecord(quint32 count, const QByteArray& strings);
QByteArray labelSst(int row, int column, quint32 index);

// An Excel 2.x, 3.0 or 4.0 stream: a BOF of that number and substream type, the records
// (each encoded), and an EOF.
QByteArray oldBiffStream(quint16 bofCode, int type, const QList<QByteArray>& records);
// A bare Excel 4.0 worksheet as its own program writes one: rows cells of "r<row>c<column>"
// texts in columns A to C, each cell with a thin border, a DIMENSIONS record that claims
// every row and column, and a page header of the sheet's name and a footer of the page number.
QByteArray borderedBiff4Sheet(int rows);

// A compound file that holds stream under name, written with libgsf.
QByteArray compoundFile(const QByteArray& stream, const char* name = "Workbook");

// The path of a committed fixture workbook.
QString fixture(const QString& name);

} // namespace xlstest
