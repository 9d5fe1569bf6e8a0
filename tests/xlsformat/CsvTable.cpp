#include "CsvTable.h"

CsvTable CsvTable::parse(const QString& text) {
    CsvTable table;
    QStringList row;
    QString field;
    bool quoted = false;
    bool rowStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
            continue;
        }
        rowStarted = true;
        if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(field);
            field.clear();
        } else if (c == u'\n') {
            row.append(field);
            table.m_rows.append(row);
            row.clear();
            field.clear();
            rowStarted = false;
        } else if (c != u'\r') {
            field += c;
        }
    }
    if (rowStarted) {
        row.append(field);
        table.m_rows.append(row);
    }
    return table;
}

QString CsvTable::cell(qsizetype row, qsizetype column) const {
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_rows[row].size())
        return QString();
    return m_rows[row][column];
}
