#pragma once

#include "platform/IMousePointer.h"

#include <stdexcept>
#include <vector>

// Records every setting of the program-wide pointer; can be told to fail.
struct FakeMousePointer : platform::IMousePointer {
    std::vector<Shape> settings;
    bool fails = false;

    void setPointer(Shape shape) override {
        settings.push_back(shape);
        if (fails)
            throw std::runtime_error("no pointer");
    }
    Shape current() const { return settings.empty() ? Shape::Default : settings.back(); }
};
