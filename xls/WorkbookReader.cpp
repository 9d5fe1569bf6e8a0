#include "WorkbookReader.h"

#include "ChartValues.h"
#include "CompoundFile.h"
#include "GlobalsReader.h"
#include "OldBiffReader.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"
#include "SheetReader.h"
#include "StreamDecryption.h"

#include <QtGlobal>

#include <algorithm>
#include <numeric>

namespace xls {

namespace {

constexpr quint16 kBiff8 = 0x0600;
constexpr quint16 kBiff5 = 0x0500;
constexpr quint16 kGlobalsType = 0x0005;
constexpr qsizetype kBiff8BofSize = 16;

// True when the stream starts with the BOF of an Excel 2.x, 3.0 or 4.0 file.
bool isOldStream(QByteArrayView stream) {
    RecordStream records(stream, 0);
    Record record;
    return records.next(record) && OldBiffReader::isOldBof(record.code);
}

// The version of a workbook stream from its first record, a BOF.
BiffVersion versionOf(QByteArrayView stream) {
    RecordStream records(stream, 0);
    Record record;
    if (!records.next(record))
        throw ReadError(ReadError::Kind::NotAWorkbook,
                        QStringLiteral("the workbook stream is empty"));
    if (record.code != record::kBof)
        throw ReadError(ReadError::Kind::NotAWorkbook,
                        QStringLiteral("the workbook stream does not start with a BOF record"));
    RecordReader bof(record);
    const quint16 version = bof.u16();
    const quint16 type = bof.u16();
    if (type != kGlobalsType)
        throw ReadError(ReadError::Kind::Corrupt,
                        QStringLiteral("the workbook stream does not start with workbook globals"));
    if (version == kBiff8 || version == kBiff5)
        return version == kBiff8 ? BiffVersion::Biff8 : BiffVersion::Biff5;
    if (version < kBiff5)
        throw ReadError(ReadError::Kind::UnsupportedVersion,
                        QStringLiteral("the workbook is in BIFF version 0x%1, which is not read; "
                                       "only Excel 2.x to 2003 workbooks are")
                            .arg(version, 4, 16, QLatin1Char('0')));
    // Some writers put a later number in the version field of a BOF that is otherwise Excel
    // 5.0's or 97's; the record's length tells them apart: 16 bytes from Excel 97 on, 8 before.
    const BiffVersion taken =
        record.data.size() >= kBiff8BofSize ? BiffVersion::Biff8 : BiffVersion::Biff5;
    qWarning("the workbook's BOF record gives version 0x%04x; read as %s", version,
             taken == BiffVersion::Biff8 ? "Excel 97 to 2003" : "Excel 5.0/95");
    return taken;
}

} // namespace

WorkbookReader::WorkbookReader(const ICodePages& codePages)
    : m_codePages(codePages) {}

Workbook WorkbookReader::readFile(const QString& path) const {
    QByteArray stream = CompoundFile::readWorkbookStream(path);
    return read(stream);
}

Workbook WorkbookReader::readFileImage(QByteArrayView file) const {
    QByteArray stream = CompoundFile::workbookStreamOf(file);
    return read(stream);
}

Workbook WorkbookReader::readStream(QByteArrayView stream) const {
    // Borrowed: an encrypted stream is copied once, when decryption first writes to it.
    QByteArray borrowed = QByteArray::fromRawData(stream.data(), stream.size());
    return read(borrowed);
}

Workbook WorkbookReader::read(QByteArray& stream) const {
    if (isOldStream(stream))
        return OldBiffReader(m_codePages).read(stream);
    const BiffVersion version = versionOf(stream);
    StreamDecryption::decryptInPlace(stream, version);
    Workbook workbook;
    GlobalsReader globals(stream, version, m_codePages);
    globals.read(workbook);

    const QList<SheetEntry>& entries = globals.sheets();
    std::vector<Sheet>& sheets = workbook.sheets();
    sheets.reserve(static_cast<size_t>(entries.size()));
    for (const SheetEntry& entry : entries)
        sheets.emplace_back(entry.name, entry.kind, entry.visibility);

    // Sheets are read in stream order, and no sheet may start inside the globals or inside
    // another sheet: the records of each sheet are read once at most.
    std::vector<qsizetype> order(static_cast<size_t>(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        return entries[a].offset < entries[b].offset;
    });
    const DefinedNames& names = globals.names();
    const ChartReference chartReferences(
        version, [&names](int externSheet) { return names.sheetOfReference(externSheet); });
    SheetReader reader(stream, version, globals.strings(), globals.sharedStrings(),
                       workbook.richTexts(), chartReferences);
    reader.setPictures(&workbook.pictures());
    reader.setHeaderFooterStore(&globals.headerFooterStore());
    QStringList sheetNames;
    for (const SheetEntry& entry : entries)
        sheetNames.append(entry.name);
    reader.setFormulaNames(globals.names().formulaNames(sheetNames));
    qsizetype end = globals.end();
    for (const qsizetype index : order) {
        const SheetEntry& entry = entries[index];
        if (entry.offset < end)
            throw ReadError(ReadError::Kind::Corrupt,
                            QStringLiteral("sheet \"%1\" starts at offset %2, inside the records "
                                           "before it")
                                .arg(entry.name)
                                .arg(entry.offset));
        end = reader.read(entry.offset, sheets[static_cast<size_t>(index)]);
    }
    globals.names().applyTo(sheets);
    ChartValues::resolve(workbook);
    return workbook;
}

} // namespace xls
