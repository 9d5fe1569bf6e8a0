#pragma once

#include <QString>

#include <optional>

namespace office {

// One open workbook of an application object. Every member raises AutomationError on failure.
class IWorkbook {
public:
    virtual ~IWorkbook() = default;

    // Prints every sheet of the workbook: Copies copies, collated or not, on ActivePrinter when
    // one is named, otherwise on the default printer. Returns once the job has reached the
    // print system.
    virtual void PrintOut(int Copies, bool Collate, std::optional<QString> ActivePrinter) = 0;

    // Closes the workbook. Workbooks are never written: SaveChanges must be false.
    virtual void Close(bool SaveChanges) = 0;
};

} // namespace office
