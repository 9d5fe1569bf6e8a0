#pragma once

#include "DefinedNames.h"
#include "HeaderFooterPictureReader.h"
#include "ICodePages.h"
#include "Strings.h"
#include "Workbook.h"

#include <QByteArrayView>
#include <QList>
#include <QMap>
#include <QString>

namespace xls {

class RecordStream;
struct Record;

// Where a sheet's records start, and what the workbook globals say about the sheet.
struct SheetEntry {
    qsizetype offset = 0;
    QString name;
    SheetKind kind = SheetKind::Worksheet;
    SheetVisibility visibility = SheetVisibility::Visible;
};

// Reads the workbook globals, the records from the stream's first BOF to its EOF: code page,
// date system, sheet list, fonts, cell and number formats, palette, shared strings and print
// names. An encrypted stream is decrypted before it comes here.
class GlobalsReader {
public:
    GlobalsReader(QByteArrayView stream, BiffVersion version, const ICodePages& codePages);

    // Reads the globals into workbook (everything but its sheets).
    void read(Workbook& workbook);

    const QList<SheetEntry>& sheets() const { return m_sheets; }
    const SharedStrings& sharedStrings() const { return m_sharedStrings; }
    const DefinedNames& names() const { return m_names; }
    // The strings decoder, set to the workbook's code page.
    const Strings& strings() const { return m_strings; }
    // The picture store of the headers' and footers' pictures, from the HFPicture records.
    const QList<Picture>& headerFooterStore() const { return m_headerFooterStore; }
    // Where the globals end, just after their EOF record.
    qsizetype end() const { return m_end; }

private:
    // What the globals build up before it is handed to the workbook.
    struct Tables {
        QList<Font> fonts;
        QList<CellFormat> cellFormats;
        QMap<int, QString> numberFormats;
        QByteArray drawingGroup;
        HeaderFooterPictureReader headerFooterGroup;
    };

    void readRecord(const Record& record, RecordStream& records, Workbook& workbook,
                    Tables& tables);
    static bool skipDamaged(const Record& record, Tables& tables);

    QByteArrayView m_stream;
    BiffVersion m_version;
    Strings m_strings;
    QList<SheetEntry> m_sheets;
    SharedStrings m_sharedStrings;
    DefinedNames m_names;
    QList<Picture> m_headerFooterStore;
    qsizetype m_end = 0;
};

} // namespace xls
