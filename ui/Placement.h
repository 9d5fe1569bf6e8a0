#pragma once

#include <QPoint>
#include <QSize>

// Where a window of the given size stands centred on a screen: the halves of the differences,
// truncated toward zero, and never negative, so a window larger than the screen keeps its
// top-left corner on it.
constexpr QPoint centredPosition(QSize screen, QSize window) {
    const int left = (screen.width() - window.width()) / 2;
    const int top = (screen.height() - window.height()) / 2;
    return {left < 0 ? 0 : left, top < 0 ? 0 : top};
}
