#include "GlobalsReader.h"

#include "Formatting.h"
#include "OfficeArt.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

#include <QtGlobal>

namespace xls {

namespace {

SheetKind kindOf(quint8 code) {
    switch (code) {
    case 1:
        return SheetKind::MacroSheet;
    case 2:
        return SheetKind::Chart;
    case 6:
        return SheetKind::Module;
    default:
        return SheetKind::Worksheet;
    }
}

SheetVisibility visibilityOf(quint8 code) {
    switch (code & 0x03) {
    case 1:
        return SheetVisibility::Hidden;
    case 2:
        return SheetVisibility::VeryHidden;
    default:
        return SheetVisibility::Visible;
    }
}

} // namespace

GlobalsReader::GlobalsReader(QByteArrayView stream, BiffVersion version,
                             const ICodePages& codePages)
    : m_stream(stream)
    , m_version(version)
    , m_strings(version, codePages)
    , m_names(version) {}

void GlobalsReader::read(Workbook& workbook) {
    workbook.setVersion(m_version);
    // Excel 5.0/95 files without a CODEPAGE record are taken to be Western.
    workbook.setCodePage(m_version == BiffVersion::Biff8 ? 1200 : 1252);
    m_strings.setCodePage(workbook.codePage());
    Tables tables;

    RecordStream records(m_stream, 0);
    Record record;
    records.next(record); // the BOF, checked by the caller
    bool ended = false;
    while (!ended && records.next(record)) {
        ended = record.code == record::kEof;
        try {
            readRecord(record, records, workbook, tables);
        } catch (const ReadError& error) {
            if (!skipDamaged(record, tables))
                throw;
            qWarning("%s; read on without it", qPrintable(error.message()));
        }
    }
    if (!ended)
        throw ReadError(ReadError::Kind::Corrupt,
                        QStringLiteral("the workbook stream ends before the end of its "
                                       "workbook globals"));
    m_end = records.position();
    workbook.setFonts(tables.fonts);
    workbook.setCellFormats(tables.cellFormats);
    workbook.setNumberFormats(tables.numberFormats);
    if (m_version == BiffVersion::Biff8) {
        workbook.setPictures(officeart::readPictureStore(tables.drawingGroup));
        m_headerFooterStore = tables.headerFooterGroup.store();
    }
}

void GlobalsReader::readRecord(const Record& record, RecordStream& records, Workbook& workbook,
                               Tables& tables) {
    RecordReader reader(record);
    switch (record.code) {
    case record::kCodePage:
        workbook.setCodePage(reader.u16());
        m_strings.setCodePage(workbook.codePage());
        break;
    case record::kDateMode:
        workbook.setUses1904Dates(reader.u16() == 1);
        break;
    case record::kBoundSheet: {
        SheetEntry entry;
        entry.offset = reader.u32();
        entry.visibility = visibilityOf(reader.u8());
        entry.kind = kindOf(reader.u8());
        entry.name = m_strings.shortString(reader);
        m_sheets.append(entry);
        break;
    }
    case record::kFont:
        tables.fonts.append(Formatting::font(reader, m_strings));
        break;
    case record::kFormat: {
        const auto [index, code] = Formatting::numberFormat(reader, m_strings);
        tables.numberFormats.insert(index, code);
        break;
    }
    case record::kXf:
        tables.cellFormats.append(Formatting::cellFormat(reader, m_version));
        break;
    case record::kPalette:
        Formatting::readPalette(reader, workbook.palette());
        break;
    case record::kSst:
        if (m_version == BiffVersion::Biff8) {
            RecordReader table(record, records.takeContinues());
            m_sharedStrings = Strings::sharedStrings(table, workbook.richTexts());
        }
        break;
    case record::kName:
        m_names.read(reader, m_strings);
        break;
    case record::kSupBook:
        m_names.readSupportingBook(reader);
        break;
    case record::kExternSheet:
        if (m_version == BiffVersion::Biff8) {
            RecordReader table(record, records.takeContinues());
            m_names.readExternSheet(table);
        }
        break;
    case record::kMsoDrawingGroup:
        // The drawing group may go on in further MSODRAWINGGROUP or CONTINUE records.
        tables.drawingGroup.append(record.data);
        for (const QByteArrayView part : records.takeContinues())
            tables.drawingGroup.append(part);
        break;
    case record::kHfPicture:
        tables.headerFooterGroup.read(record, true);
        break;
    default:
        break;
    }
}

// A record whose fields run past its end, in a stream whose records are otherwise whole, is
// passed over where what it governs has a default: a font or cell format keeps its place in
// its table with the defaults, a number format or a name is left out, so that cells fall back
// to General and the sheet prints whole. The sheet list, the shared strings and the drawing
// group decide what prints; without them the workbook stays refused.
bool GlobalsReader::skipDamaged(const Record& record, Tables& tables) {
    switch (record.code) {
    case record::kFont:
        tables.fonts.append(Font{});
        return true;
    case record::kXf:
        tables.cellFormats.append(CellFormat{});
        return true;
    case record::kCodePage:
    case record::kDateMode:
    case record::kFormat:
    case record::kPalette:
    case record::kName:
        return true;
    default:
        return false;
    }
}

} // namespace xls
