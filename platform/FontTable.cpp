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
    // The Japanese defaults since 2016, and the HG fonts of Japanese forms (workbooks write
    // their names in half-width katakana, which the font mappers fold to full width). The
    // fixed-pitch HG faces have proportional siblings under HGP (kana and Latin) and HGS
    // (kana only).
    NamedFont{"游ゴシック", ProportionalGothic},
    NamedFont{"Yu Gothic", ProportionalGothic},
    NamedFont{"游ゴシック Light", ProportionalGothic},
    NamedFont{"Yu Gothic Light", ProportionalGothic},
    NamedFont{"游明朝", ProportionalMincho},
    NamedFont{"Yu Mincho", ProportionalMincho},
    NamedFont{"HGｺﾞｼｯｸE", Gothic},
    NamedFont{"HGPｺﾞｼｯｸE", ProportionalGothic},
    NamedFont{"HGSｺﾞｼｯｸE", ProportionalGothic},
    NamedFont{"HGｺﾞｼｯｸM", Gothic},
    NamedFont{"HGPｺﾞｼｯｸM", ProportionalGothic},
    NamedFont{"HGSｺﾞｼｯｸM", ProportionalGothic},
    NamedFont{"HG創英角ｺﾞｼｯｸUB", Gothic},
    NamedFont{"HGP創英角ｺﾞｼｯｸUB", ProportionalGothic},
    NamedFont{"HGS創英角ｺﾞｼｯｸUB", ProportionalGothic},
    NamedFont{"HG丸ｺﾞｼｯｸM-PRO", ProportionalGothic},
    NamedFont{"HG創英角ﾎﾟｯﾌﾟ体", Gothic},
    NamedFont{"HGP創英角ﾎﾟｯﾌﾟ体", ProportionalGothic},
    NamedFont{"HGS創英角ﾎﾟｯﾌﾟ体", ProportionalGothic},
    NamedFont{"HG明朝E", Mincho},
    NamedFont{"HGP明朝E", ProportionalMincho},
    NamedFont{"HGS明朝E", ProportionalMincho},
    NamedFont{"HG明朝B", Mincho},
    NamedFont{"HGP明朝B", ProportionalMincho},
    NamedFont{"HGS明朝B", ProportionalMincho},
    NamedFont{"HG創英ﾌﾟﾚｾﾞﾝｽEB", Mincho},
    NamedFont{"HGP創英ﾌﾟﾚｾﾞﾝｽEB", ProportionalMincho},
    NamedFont{"HGS創英ﾌﾟﾚｾﾞﾝｽEB", ProportionalMincho},
    NamedFont{"HG正楷書体-PRO", ProportionalMincho},
    NamedFont{"HG教科書体", Mincho},
    NamedFont{"HGP教科書体", ProportionalMincho},
    NamedFont{"HGS教科書体", ProportionalMincho},
    NamedFont{"HG行書体", Mincho},
    NamedFont{"HGP行書体", ProportionalMincho},
    NamedFont{"HGS行書体", ProportionalMincho},
    NamedFont{"Arial", Sans},
    NamedFont{"Helvetica", Sans},
    NamedFont{"Tahoma", Sans},
    NamedFont{"Verdana", Sans},
    // Carlito and Caladea have Calibri's and Cambria's widths, so text breaks where it does
    // in the spreadsheet; the Liberation faces are wider.
    NamedFont{"Calibri", Sans, "Carlito"},
    NamedFont{"Times New Roman", Serif},
    NamedFont{"Times", Serif},
    NamedFont{"Century", Serif},
    NamedFont{"Cambria", Serif, "Caladea"},
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

QString substituteFamily(const NamedFont& named) {
    return named.sameMetrics != nullptr ? QString::fromUtf8(named.sameMetrics)
                                        : fontFamilies(named.kind).first();
}

std::span<const NamedFont> namedFonts() {
    return kNamedFonts;
}

} // namespace platform
