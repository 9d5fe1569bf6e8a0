#include "BorderEdges.h"

#include "PrintOptions.h"

namespace report {

namespace {

using xls::BorderStyle;

// Where two cells share an edge and both draw a line there, the heavier line shows.
int weight(BorderStyle style) {
    switch (style) {
    case BorderStyle::None:
        return 0;
    case BorderStyle::Hair:
        return 1;
    case BorderStyle::Dotted:
    case BorderStyle::Dashed:
    case BorderStyle::DashDot:
    case BorderStyle::DashDotDot:
        return 2;
    case BorderStyle::Thin:
        return 3;
    case BorderStyle::MediumDashed:
    case BorderStyle::MediumDashDot:
    case BorderStyle::MediumDashDotDot:
    case BorderStyle::SlantedDashDot:
        return 4;
    case BorderStyle::Medium:
        return 5;
    case BorderStyle::Double:
        return 6;
    case BorderStyle::Thick:
        return 7;
    }
    return 3;
}

} // namespace

const xls::Border* borderOn(const xls::CellFormat* format, Side side) {
    if (format == nullptr)
        return nullptr;
    switch (side) {
    case Side::Top:
        return &format->top;
    case Side::Left:
        return &format->left;
    case Side::Bottom:
        return &format->bottom;
    case Side::Right:
        return &format->right;
    }
    return nullptr;
}

EdgeLine edgeLine(const xls::Border& border, const PrintOptions& options) {
    if (border.style == BorderStyle::None)
        return {};
    return {border.style, options.ink(border.colorIndex, Qt::black)};
}

EdgeLine sharedLine(const xls::Border* own, const xls::Border* other, const PrintOptions& options) {
    const BorderStyle mine = own != nullptr ? own->style : BorderStyle::None;
    const BorderStyle theirs = other != nullptr ? other->style : BorderStyle::None;
    if (weight(theirs) > weight(mine))
        return edgeLine(*other, options);
    return own != nullptr ? edgeLine(*own, options) : EdgeLine{};
}

} // namespace report
