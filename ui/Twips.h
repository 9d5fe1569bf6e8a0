#pragma once

#include <QRect>

// Window layouts are designed in twips; 15 twips make one logical pixel.
constexpr int twips(int value) {
    return value / 15;
}

constexpr QRect twipsRect(int left, int top, int width, int height) {
    return {twips(left), twips(top), twips(width), twips(height)};
}
