#include "PrintProgress.h"

#include <QMetaObject>

namespace print {

PrintProgress::PrintProgress(QObject* parent)
    : QObject(parent) {}

void PrintProgress::handingOver(qsizetype n, qsizetype total, const QString& file) {
    QMetaObject::invokeMethod(
        this, [this, n, total, file] { emit workbookStarted(n, total, file); },
        Qt::QueuedConnection);
}

} // namespace print
