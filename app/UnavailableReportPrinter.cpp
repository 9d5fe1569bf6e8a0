#include "UnavailableReportPrinter.h"

#include "report/ReportError.h"

namespace {

[[noreturn]] void refuse() {
    throw report::ReportError(QStringLiteral("this build of Tessaly has no report printer"));
}

} // namespace

void UnavailableReportPrinter::setFile(const QString&) {
    refuse();
}
void UnavailableReportPrinter::StartSheets() {
    refuse();
}
void UnavailableReportPrinter::AddSheet(const QString&, const QString&) {
    refuse();
}
void UnavailableReportPrinter::CommitSheet() {
    refuse();
}
void UnavailableReportPrinter::SelectPrinter(qint32, const QString&, qint16&) {
    refuse();
}
void UnavailableReportPrinter::Print() {
    refuse();
}
