#include "DigitWidthTable.h"

#include <QString>

#include <algorithm>
#include <array>
#include <span>

namespace xls {

namespace {

// One font at one size: its names as workbooks write them (full-width and ASCII spellings),
// its size in twips and its digit width in pixels.
struct DigitWidth {
    std::span<const char* const> names;
    int twips;
    int pixels;
};

// Sources:
// - The spreadsheet's column-width documentation: a column is Truncate(((256 * width +
//   Truncate(128 / digit)) / 256) * digit) pixels, and Calibri 11 has a 7-pixel digit. Its
//   knowledge-base articles on default column widths: Helv (MS Sans Serif) 10 gives 8.43
//   characters, Helv 8 gives 8.5 (7 and 6 pixels, with the default 8 digits plus 5 pixels
//   rounded up to a multiple of 8), Arial 10 gives 8.43.
// - Japanese Excel's default column: 8.38 characters, 72 pixels, under ＭＳ Ｐゴシック 11 and
//   under 游ゴシック 11 (8 pixels).
// - Verdana 10: 8 pixels.
// - The other sizes follow from the fonts' digit advances at the whole-pixel em the screen
//   uses (points * 96 / 72, rounded): Latin faces to the nearest pixel (Arial 0.556 em,
//   Calibri 0.507, Verdana 0.636, Tahoma 0.546, Times New Roman 0.5), and the East Asian
//   faces, whose digits are half an em, rounded up as their screen bitmaps are (the 15-pixel
//   em of ＭＳ Ｐゴシック 11 gives 8). Calibri 11 is hinted a pixel narrower than that rule
//   says; the documented value stands. 游明朝 and メイリオ are taken to be as wide as
//   游ゴシック.
constexpr std::array kJapaneseHalfEm{"ＭＳ Ｐゴシック", "MS PGothic", "ＭＳ ゴシック",
                                     "MS Gothic",       "ＭＳ 明朝",  "MS Mincho",
                                     "ＭＳ Ｐ明朝",     "MS PMincho"};
constexpr std::array kYu{"游ゴシック", "Yu Gothic", "游明朝", "Yu Mincho", "メイリオ", "Meiryo"};
constexpr std::array kChineseKorean{"SimSun", "宋体", "PMingLiU", "新細明體", "MingLiU", "細明體",
                                    "Gulim",  "굴림", "Dotum",    "돋움",     "Batang",  "바탕"};
constexpr std::array kCalibri{"Calibri"};
constexpr std::array kArial{"Arial"};
constexpr std::array kVerdana{"Verdana"};
constexpr std::array kTahoma{"Tahoma"};
constexpr std::array kTimes{"Times New Roman"};
constexpr std::array kSansSerif{"MS Sans Serif"};

const std::array kWidths{
    DigitWidth{kJapaneseHalfEm, 180, 6},
    DigitWidth{kJapaneseHalfEm, 200, 7},
    DigitWidth{kJapaneseHalfEm, 210, 7},
    DigitWidth{kJapaneseHalfEm, 220, 8},
    DigitWidth{kJapaneseHalfEm, 240, 8},
    DigitWidth{kYu, 200, 7},
    DigitWidth{kYu, 220, 8},
    DigitWidth{kChineseKorean, 180, 6},
    DigitWidth{kChineseKorean, 200, 7},
    DigitWidth{kChineseKorean, 210, 7},
    DigitWidth{kChineseKorean, 220, 8},
    DigitWidth{kChineseKorean, 240, 8},
    DigitWidth{kCalibri, 200, 7},
    DigitWidth{kCalibri, 220, 7},
    DigitWidth{kCalibri, 240, 8},
    DigitWidth{kArial, 160, 6},
    DigitWidth{kArial, 180, 7},
    DigitWidth{kArial, 200, 7},
    DigitWidth{kArial, 220, 8},
    DigitWidth{kArial, 240, 9},
    DigitWidth{kVerdana, 160, 7},
    DigitWidth{kVerdana, 200, 8},
    DigitWidth{kTahoma, 160, 6},
    DigitWidth{kTahoma, 180, 7},
    DigitWidth{kTahoma, 200, 7},
    DigitWidth{kTimes, 200, 7},
    DigitWidth{kTimes, 220, 8},
    DigitWidth{kTimes, 240, 8},
    DigitWidth{kSansSerif, 160, 6},
    DigitWidth{kSansSerif, 200, 7},
};

// Full-width letters folded (NFKC), case and blanks ignored: "ＭＳ Ｐゴシック" is "MS Pゴシック".
QString key(const QString& name) {
    QString folded = name.normalized(QString::NormalizationForm_KC).toLower();
    folded.remove(QLatin1Char(' '));
    return folded;
}

} // namespace

std::optional<int> tabulatedDigitWidth(const Font& font) {
    if (font.bold())
        return std::nullopt;
    const QString name = key(font.name);
    for (const DigitWidth& width : kWidths) {
        if (width.twips == font.height &&
            std::any_of(width.names.begin(), width.names.end(),
                        [&](const char* known) { return key(QString::fromUtf8(known)) == name; }))
            return width.pixels;
    }
    return std::nullopt;
}

} // namespace xls
