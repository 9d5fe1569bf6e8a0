#pragma once

#include "ISpreadsheetEngine.h"
#include "Workbook.h"
#include "WorkbookReader.h"

#include <memory>

namespace xls {

// The engine control over the workbook reader. A failed Open leaves no workbook loaded.
class XlsEngine : public ISpreadsheetEngine {
public:
    explicit XlsEngine(const ICodePages& codePages);

    void Open(const QString& strFileName) override;
    qint32 SheetCount() const override;
    QString SheetName(qint32 lngIndex) const override;
    std::shared_ptr<const Workbook> LoadedWorkbook() const override { return m_workbook; }
    void Close() override;

private:
    const Workbook& loaded() const;

    WorkbookReader m_reader;
    std::shared_ptr<const Workbook> m_workbook;
};

} // namespace xls
