#include "OldBiffReader.h"

#include "OldBiffRecords.h"
#include "OldBiffSubstream.h"
#include "OldBiffTables.h"
#include "ReadError.h"
#include "RecordReader.h"
#include "RecordStream.h"

namespace xls {

namespace {

constexpr quint16 kWorkbookGlobals = 0x0100;
constexpr quint16 kChart = 0x0020;
constexpr quint16 kMacroSheet = 0x0040;

SheetKind kindOf(quint16 type) {
    switch (type) {
    case kChart:
        return SheetKind::Chart;
    case kMacroSheet:
        return SheetKind::MacroSheet;
    default:
        return SheetKind::Worksheet;
    }
}

// The substream type of a BOF record.
quint16 typeOf(const Record& bof) {
    RecordReader reader(bof);
    reader.u16(); // version
    return reader.u16();
}

// Everything one read needs: the workbook being built and its gathered tables.
class Assembly {
public:
    Assembly(BiffVersion version, const ICodePages& codePages)
        : m_version(version)
        , m_strings(version, codePages) {
        m_workbook.setVersion(version);
        m_workbook.setCodePage(1252); // unless a CODEPAGE record says otherwise
        m_strings.setCodePage(1252);
    }

    // Reads the substream after a BOF into a new sheet of that name.
    void readSheet(RecordStream& records, quint16 type, const QString& name) {
        OldBiffSubstream substream(m_version, m_strings, m_workbook);
        Sheet sheet(name, kindOf(type), SheetVisibility::Visible);
        substream.read(records, &sheet);
        substream.finish(sheet, m_tables.add(substream.formats(), m_globals));
        m_workbook.sheets().push_back(std::move(sheet));
    }

    // Reads an Excel 4.0 workbook's globals; returns the sheet names they list.
    QList<QString> readGlobals(RecordStream& records) {
        OldBiffSubstream substream(m_version, m_strings, m_workbook);
        substream.read(records, nullptr);
        m_globals = m_tables.add(substream.formats(), m_globals);
        return substream.sheetNames();
    }

    Workbook take() {
        m_tables.applyTo(m_workbook);
        return std::move(m_workbook);
    }

private:
    BiffVersion m_version;
    Strings m_strings;
    Workbook m_workbook;
    OldBiffTables m_tables;
    OldBiffPlacement m_globals;
};

} // namespace

OldBiffReader::OldBiffReader(const ICodePages& codePages)
    : m_codePages(codePages) {}

bool OldBiffReader::isOldBof(quint16 code) {
    return OldBiffRecords::versionOfBof(code).has_value();
}

Workbook OldBiffReader::read(QByteArrayView stream) const {
    RecordStream records(stream, 0);
    Record bof;
    if (!records.next(bof) || !isOldBof(bof.code))
        throw ReadError(ReadError::Kind::NotAWorkbook,
                        QStringLiteral("the stream does not start with an Excel 2.x-4.0 BOF"));
    Assembly assembly(*OldBiffRecords::versionOfBof(bof.code), m_codePages);
    const quint16 type = typeOf(bof);
    if (type != kWorkbookGlobals) {
        assembly.readSheet(records, type, QStringLiteral("Sheet1"));
        return assembly.take();
    }
    // An Excel 4.0 workbook: its sheets follow the globals, in the order they list them.
    const QList<QString> names = assembly.readGlobals(records);
    Record record;
    qsizetype count = 0;
    while (records.next(record)) {
        if (!isOldBof(record.code))
            continue;
        ++count;
        const QString name = count <= names.size() && !names[count - 1].isEmpty()
                                 ? names[count - 1]
                                 : QStringLiteral("Sheet%1").arg(count);
        assembly.readSheet(records, typeOf(record), name);
    }
    return assembly.take();
}

} // namespace xls
