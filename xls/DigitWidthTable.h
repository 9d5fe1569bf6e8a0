#pragma once

#include "Font.h"

#include <optional>

namespace xls {

// The width in pixels at 96 dots per inch that the spreadsheet gives the widest digit of the
// fonts workbooks commonly use as their Normal font, at the usual sizes; nothing for other
// fonts, sizes and bold faces, whose digits are then measured in the substitute font.
std::optional<int> tabulatedDigitWidth(const Font& font);

} // namespace xls
