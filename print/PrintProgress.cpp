#include "PrintProgress.h"

namespace print {

PrintProgress::PrintProgress(QObject* parent)
    : QObject(parent) {}

void PrintProgress::handingOver(qsizetype n, qsizetype total, const QString& file) {
    emit workbookStarted(n, total, file);
}

void PrintProgress::paintingPage(qsizetype n, int page) {
    emit pageStarted(n, page);
}

} // namespace print
