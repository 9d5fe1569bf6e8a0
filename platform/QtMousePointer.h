#pragma once

#include "IMousePointer.h"

namespace platform {

// Qt's application override cursor used as one setting: the wait pointer replaces whatever
// override is on top, and the default pointer clears every level of the override stack.
class QtMousePointer : public IMousePointer {
public:
    void setPointer(Shape shape) override;
};

} // namespace platform
