#pragma once

#include <QString>
#include <QtGlobal>

#include <memory>

namespace xls {

class Workbook;

// The spreadsheet engine control that the report print path drives: it opens one workbook at
// a time and answers how many sheets it has and what they are called. Every failure is
// raised as an xls::ReadError.
class ISpreadsheetEngine {
public:
    virtual ~ISpreadsheetEngine() = default;

    // Loads the workbook at strFileName, a full path, in place of any workbook loaded before.
    virtual void Open(const QString& strFileName) = 0;
    // How many sheets the loaded workbook has, of every kind and visibility.
    virtual qint32 SheetCount() const = 0;
    // The name of the sheet at lngIndex, from 0 in the workbook's order.
    virtual QString SheetName(qint32 lngIndex) const = 0;
    // The loaded workbook as it was read, shared, so that a report printer can paint it without
    // reading the file again; it stays whole after Close. Null when none is loaded.
    virtual std::shared_ptr<const Workbook> LoadedWorkbook() const = 0;
    // Unloads the workbook; nothing happens when none is loaded.
    virtual void Close() = 0;
};

} // namespace xls
