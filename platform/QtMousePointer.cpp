#include "QtMousePointer.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

void QtMousePointer::setPointer(Shape shape) {
    switch (shape) {
    case Shape::Default:
        while (QGuiApplication::overrideCursor() != nullptr)
            QGuiApplication::restoreOverrideCursor();
        break;
    case Shape::Wait:
        if (QGuiApplication::overrideCursor() != nullptr)
            QGuiApplication::changeOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        break;
    }
}

} // namespace platform
