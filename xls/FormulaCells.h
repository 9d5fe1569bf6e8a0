#pragma once

#include "Cell.h"
#include "FormulaText.h"
#include "RecordReader.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

namespace xls {

// The formulas of a sheet that displays formulas instead of their results. Cells that share a
// formula, or make up an array formula, keep only a pointer to the first cell of the group;
// the group's tokens come in a SHRFMLA or ARRAY record after that cell, so their texts are
// made once the sheet is read.
class FormulaCells {
public:
    FormulaCells(const Strings& strings, const FormulaNames& names);

    void clear();
    // The formula of the cell at index in the sheet's cells, from a FORMULA record whose
    // reader stands just after the cell's result.
    void read(RecordReader& reader, const Record& record, size_t index, int row, int column);
    // The tokens of a shared formula (SHRFMLA) or an array formula (ARRAY).
    void readGroup(const Record& record);
    // Turns each formula cell whose text is known into a text cell showing the formula; the
    // others keep their results.
    void showIn(std::vector<Cell>& cells) const;

private:
    struct Formula {
        size_t index = 0;
        int row = 0;
        int column = 0;
        QString text;  // empty while the formula is a group's
        quint32 group; // the group's first cell, for a cell of a group
    };
    struct Group {
        Record record;
        QByteArray tokens;
        QByteArray extra;
        bool array = false;
    };

    QString groupText(const Formula& formula) const;

    const Strings& m_strings;
    const FormulaNames& m_names;
    std::vector<Formula> m_formulas;
    QHash<quint32, Group> m_groups;
};

} // namespace xls
