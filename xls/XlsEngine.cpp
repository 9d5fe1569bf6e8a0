#include "XlsEngine.h"

#include "ReadError.h"

namespace xls {

XlsEngine::XlsEngine(const ICodePages& codePages)
    : m_reader(codePages) {}

void XlsEngine::Open(const QString& strFileName) {
    m_workbook.reset();
    m_workbook = std::make_shared<const Workbook>(m_reader.readFile(strFileName));
}

const Workbook& XlsEngine::loaded() const {
    if (!m_workbook)
        throw ReadError(ReadError::Kind::NoWorkbookOpen, QStringLiteral("no workbook is open"));
    return *m_workbook;
}

qint32 XlsEngine::SheetCount() const {
    return loaded().sheetCount();
}

QString XlsEngine::SheetName(qint32 lngIndex) const {
    const Workbook& workbook = loaded();
    if (lngIndex < 0 || lngIndex >= workbook.sheetCount())
        throw ReadError(ReadError::Kind::NoSuchSheet,
                        QStringLiteral("the workbook has no sheet %1; it has %2")
                            .arg(lngIndex)
                            .arg(workbook.sheetCount()));
    return workbook.sheets()[static_cast<size_t>(lngIndex)].name();
}

void XlsEngine::Close() {
    m_workbook.reset();
}

} // namespace xls
