#pragma once

// The program-wide mouse pointer: one setting that, while not the default, shows over every
// window of the program.
namespace platform {

class IMousePointer {
public:
    enum class Shape { Default, Wait };

    virtual ~IMousePointer() = default;
    virtual void setPointer(Shape shape) = 0;
};

} // namespace platform
