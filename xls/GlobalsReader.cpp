#include "GlobalsReader.h"

#include "Formatting.h"
#include "OfficeArt.h"
#include "ReadError.h"
#include "RecordCodes.h"
#include "RecordReader.h"
#include "RecordStream.h"

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
    QList<Font> fonts;
    QList<CellFormat> cellFormats;
    QMap<int, QString> numberFormats;
    QByteArray drawingGroup;

    RecordStream records(m_stream, 0);
    Record record;
    records.next(record); // the BOF, checked by the caller
    bool ended = false;
    while (!ended && records.next(record)) {
        RecordReader reader(record);
        switch (record.code) {
        case record::kEof:
            ended = true;
            break;
        case record::kFilePass: // the stream was decrypted before the globals are read
            break;
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
            fonts.append(Formatting::font(reader, m_strings));
            break;
        case record::kFormat: {
            const auto [index, code] = Formatting::numberFormat(reader, m_strings);
            numberFormats.insert(index, code);
            break;
        }
        case record::kXf:
            cellFormats.append(Formatting::cellFormat(reader, m_version));
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
            drawingGroup.append(record.data);
            for (const QByteArrayView part : records.takeContinues())
                drawingGroup.append(part);
            break;
        default:
            break;
        }
    }
    if (!ended)
        throw ReadError(ReadError::Kind::Corrupt,
                        QStringLiteral("the workbook stream ends before the end of its "
                                       "workbook globals"));
    m_end = records.position();
    workbook.setFonts(fonts);
    workbook.setCellFormats(cellFormats);
    workbook.setNumberFormats(numberFormats);
    if (m_version == BiffVersion::Biff8)
        workbook.setPictures(officeart::readPictureStore(drawingGroup));
}

} // namespace xls
