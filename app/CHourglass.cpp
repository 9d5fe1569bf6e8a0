#include "CHourglass.h"

#include <exception>

CHourglass::CHourglass(IMousePointer& pointer)
    : m_pointer(pointer) {}

CHourglass::~CHourglass() {
    setPointer(IMousePointer::Shape::Default);
}

void CHourglass::setValue(bool fValue) {
    m_Value = fValue;
    setPointer(fValue ? IMousePointer::Shape::Wait : IMousePointer::Shape::Default);
}

void CHourglass::setPointer(IMousePointer::Shape shape) noexcept {
    try {
        m_pointer.setPointer(shape);
    } catch (const std::exception&) {
        // A pointer that cannot be set leaves the operation to run as it is.
    }
}
