#pragma once

#include "platform/IMousePointer.h"

// Shows the wait pointer over the whole program while a long operation runs. Creating the
// object leaves the pointer alone; destroying it always puts the default pointer back, whatever
// Value holds and whoever set the pointer last.
class CHourglass {
public:
    explicit CHourglass(platform::IMousePointer& pointer);
    ~CHourglass();
    CHourglass(const CHourglass&) = delete;
    CHourglass& operator=(const CHourglass&) = delete;

    bool Value() const { return m_Value; }
    // Stores fValue, then sets the wait pointer (true) or the default one (false). A failure to
    // set the pointer is ignored.
    void setValue(bool fValue);

private:
    void setPointer(platform::IMousePointer::Shape shape) noexcept;

    platform::IMousePointer& m_pointer;
    bool m_Value = false;
};
