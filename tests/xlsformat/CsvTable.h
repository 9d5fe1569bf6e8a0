#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// A CSV file as rows of fields: comma-separated, fields in double quotes where they hold a
// comma, a quote (doubled) or a line break.
class CsvTable {
public:
    static CsvTable parse(const QString& text);

    // The empty text for a cell past the end of its row or of the table.
    QString cell(qsizetype row, qsizetype column) const;
    qsizetype rowCount() const { return m_rows.size(); }

private:
    QList<QStringList> m_rows;
};
