#pragma once

#include <QString>

namespace xls {

enum class Underline { None, Single, Double, SingleAccounting, DoubleAccounting };
enum class Script { Normal, Superscript, Subscript };

// A font of the workbook, as its FONT record gives it.
struct Font {
    QString name = QStringLiteral("Arial");
    int height = 200; // in twips (1/20 point)
    int weight = 400; // 400 normal, 700 bold
    bool italic = false;
    bool strikeout = false;
    bool outline = false;
    bool shadow = false;
    Underline underline = Underline::None;
    Script script = Script::Normal;
    int colorIndex = 0x7FFF; // into the palette; 0x7FFF is the automatic colour
    int family = 0;          // 0 any, 1 roman, 2 swiss, 3 modern, 4 script, 5 decorative
    int charSet = 0;         // Windows character set, 128 for Japanese

    bool bold() const { return weight >= 700; }
};

} // namespace xls
