#pragma once

#include "report/IReportPrinter.h"

// Stands where the report printer goes while the program is built without one: every call is
// refused, so the report path ends with its error message and prints nothing anywhere.
class UnavailableReportPrinter : public report::IReportPrinter {
public:
    void setFile(const QString& strFileName) override;
    void StartSheets() override;
    void AddSheet(const QString& strSheetName, const QString& strRange) override;
    void CommitSheet() override;
    void SelectPrinter(qint32 lngKind, const QString& strPrinterName, qint16& intStatus) override;
    void Print() override;
};
