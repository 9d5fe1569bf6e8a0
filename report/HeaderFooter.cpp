#include "HeaderFooter.h"

#include "xls/Font.h"

#include <algorithm>
#include <array>
#include <optional>

namespace report {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

bool isHexDigit(QChar c) {
    return isDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

HeaderFooterRun startingRun(const xls::Font& font) {
    HeaderFooterRun run;
    run.fontName = font.name;
    run.pointSize = font.height / 20.0;
    run.bold = font.bold();
    run.italic = font.italic;
    run.underline = font.underline == xls::Underline::Single ||
                    font.underline == xls::Underline::SingleAccounting;
    run.doubleUnderline = font.underline == xls::Underline::Double ||
                          font.underline == xls::Underline::DoubleAccounting;
    run.strikeout = font.strikeout;
    run.superscript = font.script == xls::Script::Superscript;
    run.subscript = font.script == xls::Script::Subscript;
    return run;
}

constexpr qsizetype kColorCodeLength = 6;

// The default theme's colours by the index headers and cells give them.
constexpr std::array<QRgb, 12> kThemeColors = {
    0xFFFFFF, 0x000000, 0xEEECE1, 0x1F497D, 0x4F81BD, 0xC0504D,
    0x9BBB59, 0x8064A2, 0x4BACC6, 0xF79646, 0x0000FF, 0x800080,
};

// A theme colour lightened (tint above 0) or darkened towards white or black by changing its
// luminance, as the file format defines a tint.
QColor tinted(QRgb rgb, double tint) {
    const QColor color = QColor::fromRgb(rgb).toHsl();
    const double lightness = color.lightnessF();
    const double changed = tint < 0 ? lightness * (1 + tint) : lightness * (1 - tint) + tint;
    return QColor::fromHslF(color.hslHueF(), color.hslSaturationF(), float(changed)).toRgb();
}

// The six characters after &K: rrggbb, or ttSnnn for theme colour tt with a tint of S nnn
// percent. A theme colour or tint out of range takes the nearest one, as the spreadsheet does.
std::optional<QColor> colorCode(const QString& digits) {
    if (digits.size() < kColorCodeLength)
        return std::nullopt;
    if (std::all_of(digits.begin(), digits.end(), isHexDigit))
        return QColor::fromRgb(digits.toUInt(nullptr, 16));
    const bool theme = isDigit(digits[0]) && isDigit(digits[1]) &&
                       (digits[2] == u'+' || digits[2] == u'-') && isDigit(digits[3]) &&
                       isDigit(digits[4]) && isDigit(digits[5]);
    if (!theme)
        return std::nullopt;
    const int index = std::min(digits.left(2).toInt(), static_cast<int>(kThemeColors.size()) - 1);
    const double tint = std::min(digits.mid(3).toInt(), 100) / 100.0;
    return tinted(kThemeColors[static_cast<size_t>(index)], digits[2] == u'-' ? -tint : tint);
}

// The style part of &"font,style": Excel's English or Japanese style names.
void applyStyle(HeaderFooterRun& run, const QString& style) {
    const QString words = style.trimmed();
    if (words.isEmpty())
        return;
    run.bold = words.contains(QLatin1String("Bold"), Qt::CaseInsensitive) ||
               words.contains(QStringLiteral("太字"));
    run.italic = words.contains(QLatin1String("Italic"), Qt::CaseInsensitive) ||
                 words.contains(QLatin1String("Oblique"), Qt::CaseInsensitive) ||
                 words.contains(QStringLiteral("斜体"));
}

// Builds the sections run by run: text gathers in the current run until a code changes the
// font or the section, or a line ends.
class Expander {
public:
    Expander(const HeaderFooterFields& fields, const xls::Font& defaultFont)
        : m_fields(fields)
        , m_defaultRun(startingRun(defaultFont))
        , m_run(m_defaultRun) {}

    HeaderFooterText expand(const QString& code);

private:
    void flush();
    void newLine();
    void addPicture();
    void switchSection(HeaderFooterSection* section);
    void changeFont(const HeaderFooterRun& font);
    qsizetype fontCode(const QString& code, qsizetype at);
    qsizetype pageCode(const QString& code, qsizetype at);

    const HeaderFooterFields& m_fields;
    const HeaderFooterRun m_defaultRun;
    HeaderFooterText m_text;
    HeaderFooterSection* m_section = &m_text.center;
    HeaderFooterRun m_run; // the font of the text being gathered, and that text
};

void Expander::flush() {
    if (m_run.text.isEmpty())
        return;
    if (m_section->lines.isEmpty())
        m_section->lines.append(HeaderFooterLine());
    m_section->lines.back().append(m_run);
    m_run.text.clear();
}

void Expander::newLine() {
    flush();
    if (m_section->lines.isEmpty())
        m_section->lines.append(HeaderFooterLine());
    m_section->lines.append(HeaderFooterLine());
}

// The picture takes its place in the line as a run of its own.
void Expander::addPicture() {
    flush();
    HeaderFooterRun picture;
    picture.picture = true;
    if (m_section->lines.isEmpty())
        m_section->lines.append(HeaderFooterLine());
    m_section->lines.back().append(picture);
}

// Each section starts again in the default font.
void Expander::switchSection(HeaderFooterSection* section) {
    flush();
    m_section = section;
    m_run = m_defaultRun;
}

void Expander::changeFont(const HeaderFooterRun& font) {
    flush();
    m_run = font;
    m_run.text.clear();
}

// &"font,style" from the quote at `at`; returns where the code ends.
qsizetype Expander::fontCode(const QString& code, qsizetype at) {
    qsizetype close = code.indexOf(u'"', at + 1);
    if (close < 0)
        close = code.size();
    const QString fontAndStyle = code.mid(at + 1, close - at - 1);
    const qsizetype comma = fontAndStyle.indexOf(u',');
    const QString name = (comma < 0 ? fontAndStyle : fontAndStyle.left(comma)).trimmed();
    HeaderFooterRun font = m_run;
    if (!name.isEmpty() && name != u'-')
        font.fontName = name;
    if (comma >= 0)
        applyStyle(font, fontAndStyle.mid(comma + 1));
    changeFont(font);
    return std::min(close + 1, code.size());
}

// &P with an optional +n or -n from the letter at `at`; returns where the code ends.
qsizetype Expander::pageCode(const QString& code, qsizetype at) {
    qsizetype next = at + 1;
    long long page = m_fields.page;
    if (next + 1 < code.size() && (code[next] == u'+' || code[next] == u'-') &&
        isDigit(code[next + 1])) {
        const bool minus = code[next] == u'-';
        qsizetype end = next + 1;
        long long offset = 0;
        // At most 9 digits, so the sum cannot overflow; further digits are text.
        while (end < code.size() && end - next <= 9 && isDigit(code[end]))
            offset = offset * 10 + code[end++].digitValue();
        page += minus ? -offset : offset;
        next = end;
    }
    m_run.text += QString::number(page);
    return next;
}

HeaderFooterText Expander::expand(const QString& code) {
    qsizetype at = 0;
    while (at < code.size()) {
        const QChar c = code[at];
        if (c == u'\n') {
            newLine();
            ++at;
            continue;
        }
        if (c == u'\r') {
            ++at;
            continue;
        }
        if (c != u'&') {
            m_run.text += c;
            ++at;
            continue;
        }
        ++at;
        if (at >= code.size())
            break;
        const QChar letter = code[at];
        if (isDigit(letter)) {
            // &nn: a size of one or two digits.
            int size = letter.digitValue();
            ++at;
            if (at < code.size() && isDigit(code[at]))
                size = size * 10 + code[at++].digitValue();
            if (size > 0) {
                HeaderFooterRun font = m_run;
                font.pointSize = size;
                changeFont(font);
            }
            continue;
        }
        if (letter == u'"') {
            at = fontCode(code, at);
            continue;
        }
        if (letter.toUpper() == u'P') {
            at = pageCode(code, at);
            continue;
        }
        ++at;
        HeaderFooterRun font = m_run;
        switch (letter.toUpper().unicode()) {
        case u'&':
            m_run.text += u'&';
            break;
        case u'L':
            switchSection(&m_text.left);
            break;
        case u'C':
            switchSection(&m_text.center);
            break;
        case u'R':
            switchSection(&m_text.right);
            break;
        case u'N':
            m_run.text += QString::number(m_fields.pageCount);
            break;
        case u'A':
            m_run.text += m_fields.sheetName;
            break;
        case u'F':
            m_run.text += m_fields.fileName;
            break;
        case u'Z':
            m_run.text += m_fields.folderPath;
            break;
        case u'D':
            m_run.text += m_fields.printed.toString(QStringLiteral("yyyy/MM/dd"));
            break;
        case u'T':
            m_run.text += m_fields.printed.toString(QStringLiteral("H:mm"));
            break;
        case u'B':
            font.bold = !font.bold;
            changeFont(font);
            break;
        case u'I':
            font.italic = !font.italic;
            changeFont(font);
            break;
        case u'U':
            font.underline = !font.underline;
            if (font.underline)
                font.doubleUnderline = false;
            changeFont(font);
            break;
        case u'E':
            font.doubleUnderline = !font.doubleUnderline;
            if (font.doubleUnderline)
                font.underline = false;
            changeFont(font);
            break;
        case u'S':
            font.strikeout = !font.strikeout;
            changeFont(font);
            break;
        case u'X':
            font.superscript = !font.superscript;
            if (font.superscript)
                font.subscript = false;
            changeFont(font);
            break;
        case u'Y':
            font.subscript = !font.subscript;
            if (font.subscript)
                font.superscript = false;
            changeFont(font);
            break;
        case u'K':
            if (const std::optional<QColor> color = colorCode(code.mid(at, kColorCodeLength))) {
                font.color = *color;
                changeFont(font);
                at += kColorCodeLength;
            }
            break;
        case u'G':
            addPicture();
            break;
        default:
            // Unknown codes print nothing.
            break;
        }
    }
    flush();
    return m_text;
}

} // namespace

HeaderFooterText expandHeaderFooter(const QString& code, const HeaderFooterFields& fields,
                                    const xls::Font& defaultFont) {
    return Expander(fields, defaultFont).expand(code);
}

} // namespace report
