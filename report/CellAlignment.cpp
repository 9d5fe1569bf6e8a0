#include "CellAlignment.h"

namespace report {

using xls::HorizontalAlignment;
using xls::VerticalAlignment;

HorizontalAlignment resolvedAlignment(HorizontalAlignment horizontal, xls::CellType type) {
    if (horizontal != HorizontalAlignment::General)
        return horizontal;
    if (type == xls::CellType::Number)
        return HorizontalAlignment::Right;
    if (type == xls::CellType::Text)
        return HorizontalAlignment::Left;
    return HorizontalAlignment::Center;
}

bool wraps(const xls::CellFormat& format, HorizontalAlignment horizontal) {
    return format.wrap || horizontal == HorizontalAlignment::Justify ||
           horizontal == HorizontalAlignment::Distributed ||
           format.vertical == VerticalAlignment::Justify ||
           format.vertical == VerticalAlignment::Distributed;
}

double indentOf(const xls::CellFormat& format, HorizontalAlignment horizontal,
                double maxDigitWidth) {
    const bool indents =
        horizontal == HorizontalAlignment::Left || horizontal == HorizontalAlignment::Right;
    return indents ? format.indent * 3 * maxDigitWidth * kPointsPerPixel : 0.0;
}

} // namespace report
