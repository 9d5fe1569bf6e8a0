#include "FontTable.h"

#include <array>

namespace platform {

namespace {

using enum FontKind;

constexpr std::array kNamedFonts{
    NamedFont{"ＭＳ Ｐゴシック", ProportionalGothic},
    NamedFont{"MS PGothic", ProportionalGothic},
    NamedFont{"ＭＳ ゴシック", Gothic},
    NamedFont{"MS Gothic", Gothic},
    NamedFont{"ＭＳ Ｐ明朝", ProportionalMincho},
    NamedFont{"MS PMincho", ProportionalMincho},
    NamedFont{"ＭＳ 明朝", Mincho},
    NamedFont{"MS Mincho", Mincho},
    NamedFont{"MS UI Gothic", ProportionalGothic},
    NamedFont{"メイリオ", ProportionalGothic},
    NamedFont{"Meiryo", ProportionalGothic},
    NamedFont{"Arial", Sans},
    NamedFont{"Helvetica", Sans},
    NamedFont{"Tahoma", Sans},
    NamedFont{"Verdana", Sans},
    NamedFont{"Calibri", Sans},
    NamedFont{"Times New Roman", Serif},
    NamedFont{"Times", Serif},
    NamedFont{"Century", Serif},
    NamedFont{"Cambria", Serif},
    NamedFont{"Courier New", Mono},
    NamedFont{"Courier", Mono},
};

} // namespace

QStringList fontFamilies(FontKind kind) {
    switch (kind) {
    case Sans:
        return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                QStringLiteral("DejaVu Sans")};
    case Serif:
        return {QStringLiteral("Liberation Serif"), QStringLiteral("Tinos"),
                QStringLiteral("DejaVu Serif")};
    case Mono:
        return {QStringLiteral("Liberation Mono"), QStringLiteral("Cousine"),
                QStringLiteral("DejaVu Sans Mono")};
    case Gothic:
        return {QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")};
    case ProportionalGothic:
        return {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")};
    case Mincho:
        return {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")};
    case ProportionalMincho:
        return {QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")};
    }
    return {};
}

std::span<const NamedFont> namedFonts() {
    return kNamedFonts;
}

} // namespace platform
