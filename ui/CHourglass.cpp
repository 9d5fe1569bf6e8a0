#include "CHourglass.h"

#include <exception>

CHourglass::CHourglass(platform::IMousePointer& pointer)
    : m_pointer(pointer) {}

CHourglass::~CHourglass() {
    setPointer(platform::IMousePointer::Shape::Default);
}

void CHourglass::setValue(bool fValue) {
    m_Value = fValue;
    setPointer(fValue ? platform::IMousePointer::Shape::Wait
                      : platform::IMousePointer::Shape::Default);
}

void CHourglass::setPointer(platform::IMousePointer::Shape shape) noexcept {
    try {
        m_pointer.setPointer(shape);
    } catch (const std::exception&) {
        // A pointer that cannot be set leaves the operation to run as it is.
    }
}
