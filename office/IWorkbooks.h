#pragma once

#include "IWorkbook.h"

#include <QString>

#include <memory>

namespace office {

// The open workbooks of an application object.
class IWorkbooks {
public:
    virtual ~IWorkbooks() = default;

    // Opens the workbook file read-only, without running its macros or updating its links.
    virtual std::unique_ptr<IWorkbook> Open(const QString& Filename) = 0;
};

} // namespace office
