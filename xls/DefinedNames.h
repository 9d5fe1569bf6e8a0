#pragma once

#include "CellRange.h"
#include "FormulaText.h"
#include "RecordReader.h"
#include "Sheet.h"
#include "Strings.h"
#include "Workbook.h"

#include <QList>

#include <vector>

namespace xls {

// The defined names that decide what prints: each sheet's built-in Print_Area and
// Print_Titles names (NAME records local to a sheet), whose formulas are lists of cell
// ranges. Other names, print names whose formulas are anything but ranges, and print names
// that refer to another workbook (through EXTERNSHEET and SUPBOOK) are ignored.
class DefinedNames {
public:
    explicit DefinedNames(BiffVersion version);

    // The links of 3-D references (Excel 97-2003), which come before the NAME records: each
    // SUPBOOK record in turn, then the EXTERNSHEET table that points into them.
    void readSupportingBook(RecordReader& reader);
    void readExternSheet(RecordReader& reader);

    // Reads a NAME record and keeps it when it is a print name.
    void read(RecordReader& reader, const Strings& strings);
    // The sheet (from 0) that an EXTERNSHEET entry of a 3-D reference names in this
    // workbook, or -1 when it names another workbook or the file holds no such entry.
    int sheetOfReference(int externSheet) const;

    // Gives each sheet its print areas and print titles.
    void applyTo(std::vector<Sheet>& sheets) const;
    // What formulas name through these tables, for a workbook with these sheets.
    FormulaNames formulaNames(const QStringList& sheetNames) const;

private:
    struct PrintName {
        int sheet = 0; // from 0
        bool titles = false;
        QList<CellRange> ranges;
    };

    // The ranges of a name's formula, or nothing when it holds anything else.
    QList<CellRange> rangesOf(RecordReader& formula) const;
    CellRange areaOperand(RecordReader& formula) const;
    CellRange cellOperand(RecordReader& formula) const;
    int lastRow() const;
    bool linksElsewhere(int externSheet) const;

    BiffVersion m_version;
    QList<PrintName> m_names;
    QList<bool> m_ownBooks; // per SUPBOOK: true when it stands for this workbook
    struct ExternSheet {
        int book = 0; // its SUPBOOK
        int firstSheet = 0;
        int lastSheet = 0;
    };
    QList<ExternSheet> m_externSheets;
    // Every name as formulas show it, in record order; empty for a record too damaged to read,
    // so that the names after it keep their places.
    QStringList m_texts;
};

} // namespace xls
