#include "FontMapper.h"

#include "xls/DigitWidthTable.h"
#include "xls/Font.h"

#include <QFontDatabase>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace report {

namespace {

constexpr int kJapaneseCharSet = 128;
constexpr int kRomanFamily = 1;
constexpr int kModernFamily = 3;

// Full-width letters folded to ASCII (NFKC), case and blanks ignored: "ＭＳ Ｐゴシック" and
// "MS Pゴシック" are one name.
QString normalised(const QString& name) {
    QString key = name.normalized(QString::NormalizationForm_KC).toLower();
    key.remove(QLatin1Char(' '));
    key.remove(QLatin1Char('-'));
    key.remove(QLatin1Char('_'));
    return key;
}

bool containsAny(const QString& key, std::initializer_list<const char*> parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](const char* part) { return key.contains(QString::fromUtf8(part)); });
}

bool startsWithAny(const QString& key, std::initializer_list<const char*> parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](const char* part) { return key.startsWith(QString::fromUtf8(part)); });
}

} // namespace

FontMapper::FontMapper() {
    for (const QString& family : QFontDatabase::families())
        m_installed.insert(family.toLower());
    for (const platform::NamedFont& named : platform::namedFonts()) {
        const QString key = normalised(QString::fromUtf8(named.name));
        m_named.insert(key, named.kind);
        if (named.sameMetrics != nullptr)
            m_twins.insert(key, QString::fromUtf8(named.sameMetrics));
    }
}

FontMapper::Kind FontMapper::kindOf(const QString& workbookName, int familyClass,
                                    int charSet) const {
    const QString key = normalised(workbookName);
    const auto named = m_named.constFind(key);
    if (named != m_named.constEnd())
        return *named;
    // Names the table does not list go by what they say of themselves. Latin faces whose names
    // would otherwise read as Japanese ones.
    if (containsAny(key, {"centurygothic", "franklingothic", "lettergothic"}))
        return Kind::Sans;
    const bool proportional =
        startsWithAny(key, {"msp", "hgp", "hgsp"}) || containsAny(key, {"pゴシック", "p明朝"});
    if (containsAny(key, {"明朝", "mincho", "教科書", "行書", "楷書"}))
        return proportional ? Kind::ProportionalMincho : Kind::Mincho;
    if (containsAny(key, {"uigothic", "uiゴシック", "メイリオ", "meiryo", "osaka", "游ゴシック"}))
        return Kind::ProportionalGothic;
    if (containsAny(key, {"ゴシック", "gothic"}))
        return proportional ? Kind::ProportionalGothic : Kind::Gothic;
    if (containsAny(key, {"courier", "consolas", "lucidaconsole", "mono", "fixedsys"}))
        return Kind::Mono;
    if (containsAny(key, {"times", "century", "roman", "serif", "georgia", "garamond", "bookman",
                          "antiqua", "cambria", "palatino"}) &&
        !key.contains(QLatin1String("sansserif")))
        return Kind::Serif;
    if (containsAny(key, {"arial", "helvetica", "tahoma", "verdana", "calibri", "segoe",
                          "trebuchet", "sansserif", "lucida"}))
        return Kind::Sans;
    if (charSet == kJapaneseCharSet)
        return familyClass == kRomanFamily ? Kind::ProportionalMincho : Kind::ProportionalGothic;
    if (familyClass == kRomanFamily)
        return Kind::Serif;
    if (familyClass == kModernFamily)
        return Kind::Mono;
    return Kind::Sans;
}

// The first installed family of those that stand for a kind.
QString FontMapper::installed(Kind kind) const {
    for (const QString& candidate : platform::fontFamilies(kind)) {
        if (m_installed.contains(candidate.toLower()))
            return candidate;
    }
    return {};
}

QStringList FontMapper::families(const QString& workbookName, int familyClass, int charSet) const {
    const QString cacheKey =
        QStringLiteral("%1\n%2\n%3").arg(workbookName).arg(familyClass).arg(charSet);
    const auto cached = m_cache.constFind(cacheKey);
    if (cached != m_cache.constEnd())
        return *cached;

    const Kind kind = kindOf(workbookName, familyClass, charSet);
    QStringList result;
    const auto add = [&result](const QString& family) {
        if (!family.isEmpty() && !result.contains(family))
            result.append(family);
    };
    // A font installed under the workbook's own name is the best match, unless it is one of
    // fontconfig's generic aliases.
    const QString key = normalised(workbookName);
    if (m_installed.contains(workbookName.toLower()) && key != QLatin1String("sansserif") &&
        key != QLatin1String("serif") && key != QLatin1String("monospace"))
        add(workbookName);
    const QString twin = m_twins.value(key);
    if (m_installed.contains(twin.toLower()))
        add(twin);
    add(installed(kind));
    // Glyphs the chosen font lacks come from the Japanese font of the same kind.
    const bool serif =
        kind == Kind::Serif || kind == Kind::Mincho || kind == Kind::ProportionalMincho;
    add(installed(serif ? Kind::ProportionalMincho : Kind::ProportionalGothic));
    add(installed(serif ? Kind::Serif : Kind::Sans));
    m_cache.insert(cacheKey, result);
    return result;
}

QFont FontMapper::font(const QString& workbookName, double pointSize, bool bold,
                       bool italic) const {
    QFont result;
    result.setFamilies(families(workbookName));
    result.setPointSizeF(pointSize > 0 ? pointSize : 10.0);
    result.setBold(bold);
    result.setItalic(italic);
    result.setKerning(false);
    return result;
}

QFont FontMapper::font(const xls::Font& font) const {
    QFont result;
    result.setFamilies(families(font.name, font.family, font.charSet));
    result.setPointSizeF(font.height > 0 ? font.height / 20.0 : 10.0);
    result.setBold(font.bold());
    result.setItalic(font.italic);
    // Double and accounting underlines are drawn by the painter.
    result.setUnderline(font.underline == xls::Underline::Single);
    result.setStrikeOut(font.strikeout);
    result.setKerning(false);
    return result;
}

double FontMapper::maxDigitWidth(const xls::Font& font) const {
    // Column widths follow the spreadsheet's own fonts, which are not installed: where their
    // digit width is known, the substitute's would move every column.
    if (const std::optional<int> known = xls::tabulatedDigitWidth(font))
        return *known;
    const double points = font.height > 0 ? font.height / 20.0 : 10.0;
    const int pixels = std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
    // The Japanese fonts' digits are half an em wide, in their proportional faces as well;
    // the fixed-pitch face measures that without the proportional face's wider digits.
    Kind kind = kindOf(font.name, font.family, font.charSet);
    if (kind == Kind::ProportionalGothic)
        kind = Kind::Gothic;
    else if (kind == Kind::ProportionalMincho)
        kind = Kind::Mincho;
    QFont measured;
    const QString family = installed(kind);
    measured.setFamilies(family.isEmpty() ? families(font.name, font.family, font.charSet)
                                          : QStringList{family});
    measured.setPixelSize(pixels);
    measured.setBold(font.bold());
    measured.setItalic(font.italic);
    const QFontMetricsF metrics(measured);
    double widest = 0;
    for (char digit = '0'; digit <= '9'; ++digit)
        widest = std::max(widest, metrics.horizontalAdvance(QLatin1Char(digit)));
    return widest;
}

} // namespace report
