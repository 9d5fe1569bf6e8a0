#include "xls/format/FormatScanner.h"

#include <algorithm>
#include <array>

namespace xls::format {

namespace {

constexpr int MaxPaletteColor = 56;

// One whole character from index i: two code units for a surrogate pair.
qsizetype charLength(const QString& code, qsizetype i) {
    if (i + 1 < code.size() && code[i].isHighSurrogate() && code[i + 1].isLowSurrogate())
        return 2;
    return 1;
}

qsizetype runLength(const QString& code, qsizetype i) {
    const QChar letter = code[i].toLower();
    qsizetype end = i + 1;
    while (end < code.size() && code[end].toLower() == letter)
        ++end;
    return end - i;
}

bool startsWithAt(const QString& code, qsizetype i, QStringView word) {
    return QStringView(code).mid(i).startsWith(word, Qt::CaseInsensitive);
}

void addLiteral(RawSection& section, const QString& text) {
    section.tokens.append(RawToken{RawKind::Literal, QChar(), 1, text, QString()});
}

void addToken(RawSection& section, RawKind kind, const QString& text, int count = 1,
              QChar placeholder = QChar()) {
    section.tokens.append(RawToken{kind, placeholder, count, text, QString()});
}

bool readCondition(QStringView content, Condition& condition) {
    static constexpr std::array<std::pair<const char16_t*, Condition::Op>, 6> Operators{{
        {u"<=", Condition::Op::LessEqual},
        {u">=", Condition::Op::GreaterEqual},
        {u"<>", Condition::Op::NotEqual},
        {u"<", Condition::Op::Less},
        {u">", Condition::Op::Greater},
        {u"=", Condition::Op::Equal},
    }};
    for (const auto& [text, op] : Operators) {
        const QStringView symbol(text);
        if (!content.startsWith(symbol))
            continue;
        bool ok = false;
        const double operand = content.mid(symbol.size()).trimmed().toDouble(&ok);
        if (!ok)
            return false;
        condition.op = op;
        condition.operand = operand;
        return true;
    }
    return false;
}

int colorNumber(const QString& lower) {
    static constexpr std::array<const char16_t*, 8> Names{u"black", u"white",  u"red",     u"green",
                                                          u"blue",  u"yellow", u"magenta", u"cyan"};
    for (size_t i = 0; i < Names.size(); ++i) {
        if (lower == QStringView(Names[i]))
            return static_cast<int>(i) + 1;
    }
    if (lower.startsWith(u"color")) {
        bool ok = false;
        const int number = QStringView(lower).mid(5).trimmed().toInt(&ok);
        if (ok && number >= 1 && number <= MaxPaletteColor)
            return number;
    }
    return 0;
}

// The contents of [...]: a condition, a colour, a currency text with its locale, an elapsed
// time unit, or a numeral-script switch (which changes nothing here).
bool readBracket(const QString& content, RawSection& section) {
    if (content.isEmpty())
        return false;
    const QChar first = content[0];
    if (first == u'<' || first == u'>' || first == u'=')
        return readCondition(content, section.condition);
    if (first == u'$') {
        const qsizetype dash = content.indexOf(u'-');
        const QString symbol = content.mid(1, dash < 0 ? -1 : dash - 1);
        if (!symbol.isEmpty())
            addLiteral(section, symbol);
        if (dash >= 0) {
            bool ok = false;
            const uint lcid = content.mid(dash + 1).toUInt(&ok, 16);
            if (ok)
                section.language = static_cast<int>(lcid & 0xFFFF);
        }
        return true;
    }
    const QString lower = content.toLower();
    const QChar unit = lower[0];
    if ((unit == u'h' || unit == u'm' || unit == u's') &&
        std::all_of(lower.begin(), lower.end(), [unit](QChar c) { return c == unit; })) {
        const RawKind kind = unit == u'h'   ? RawKind::ElapsedHours
                             : unit == u'm' ? RawKind::ElapsedMinutes
                                            : RawKind::ElapsedSeconds;
        addToken(section, kind, u'[' + content + u']', static_cast<int>(lower.size()));
        return true;
    }
    if (const int color = colorNumber(lower)) {
        section.color = color;
        return true;
    }
    return lower.startsWith(u"dbnum") || lower.startsWith(u"natnum");
}

} // namespace

bool isDateToken(RawKind kind) {
    switch (kind) {
    case RawKind::Year:
    case RawKind::MonthOrMinute:
    case RawKind::Day:
    case RawKind::Hour:
    case RawKind::Second:
    case RawKind::AmPm:
    case RawKind::ElapsedHours:
    case RawKind::ElapsedMinutes:
    case RawKind::ElapsedSeconds:
    case RawKind::EraName:
    case RawKind::EraYear:
    case RawKind::JapaneseWeekday:
        return true;
    default:
        return false;
    }
}

bool scanSection(const QString& code, qsizetype& pos, RawSection& section, bool& moreSections) {
    const qsizetype size = code.size();
    moreSections = false;
    while (pos < size) {
        const QChar c = code[pos];
        switch (c.unicode()) {
        case u';':
            ++pos;
            moreSections = true;
            return true;
        case u'"': {
            const qsizetype close = code.indexOf(u'"', pos + 1);
            if (close < 0)
                return false;
            addLiteral(section, code.mid(pos + 1, close - pos - 1));
            pos = close + 1;
            break;
        }
        case u'\\':
        case u'_':
        case u'*': {
            if (pos + 1 >= size)
                return false;
            const qsizetype length = charLength(code, pos + 1);
            const QString next = code.mid(pos + 1, length);
            if (c == u'\\')
                addLiteral(section, next);
            else if (c == u'_')
                addLiteral(section, QStringLiteral(" "));
            else if (length == 1)
                addToken(section, RawKind::Fill, next);
            pos += 1 + length;
            break;
        }
        case u'[': {
            const qsizetype close = code.indexOf(u']', pos + 1);
            if (close < 0 || !readBracket(code.mid(pos + 1, close - pos - 1), section))
                return false;
            pos = close + 1;
            break;
        }
        case u'0':
        case u'#':
        case u'?':
            addToken(section, RawKind::Digit, QString(c), 1, c);
            ++pos;
            break;
        case u'.':
            addToken(section, RawKind::Point, QStringLiteral("."));
            ++pos;
            break;
        case u',':
            addToken(section, RawKind::Comma, QStringLiteral(","));
            ++pos;
            break;
        case u'%':
            addToken(section, RawKind::Percent, QStringLiteral("%"));
            ++pos;
            break;
        case u'/':
            addToken(section, RawKind::Slash, QStringLiteral("/"));
            ++pos;
            break;
        case u'@':
            addToken(section, RawKind::At, QStringLiteral("@"));
            section.hasAt = true;
            ++pos;
            break;
        case u'E':
        case u'e': {
            if (pos + 1 < size && (code[pos + 1] == u'+' || code[pos + 1] == u'-')) {
                addToken(section, RawKind::Exponent, code.mid(pos, 2), 1, code[pos + 1]);
                pos += 2;
                break;
            }
            const qsizetype run = runLength(code, pos);
            addToken(section, RawKind::EraYear, code.mid(pos, run), static_cast<int>(run));
            pos += run;
            break;
        }
        case u'G':
        case u'g': {
            if (startsWithAt(code, pos, u"general")) {
                addToken(section, RawKind::General, code.mid(pos, 7));
                pos += 7;
                break;
            }
            const qsizetype run = runLength(code, pos);
            addToken(section, RawKind::EraName, code.mid(pos, run), static_cast<int>(run));
            pos += run;
            break;
        }
        case u'A':
        case u'a': {
            if (startsWithAt(code, pos, u"am/pm")) {
                section.tokens.append(
                    RawToken{RawKind::AmPm, QChar(), 5, code.mid(pos, 2), code.mid(pos + 3, 2)});
                pos += 5;
                break;
            }
            if (startsWithAt(code, pos, u"a/p")) {
                section.tokens.append(
                    RawToken{RawKind::AmPm, QChar(), 3, code.mid(pos, 1), code.mid(pos + 2, 1)});
                pos += 3;
                break;
            }
            const qsizetype run = runLength(code, pos);
            if (run >= 3)
                addToken(section, RawKind::JapaneseWeekday, code.mid(pos, run),
                         static_cast<int>(run));
            else
                addLiteral(section, code.mid(pos, run));
            pos += run;
            break;
        }
        case u'R':
        case u'r': {
            // r is the two-digit era year, rr the era name with it.
            const qsizetype run = runLength(code, pos);
            if (run >= 2)
                addToken(section, RawKind::EraName, code.mid(pos, run), 3);
            addToken(section, RawKind::EraYear, run >= 2 ? QString() : code.mid(pos, run), 2);
            pos += run;
            break;
        }
        case u'Y':
        case u'y':
        case u'M':
        case u'm':
        case u'D':
        case u'd':
        case u'H':
        case u'h':
        case u'S':
        case u's': {
            const char16_t letter = c.toLower().unicode();
            const RawKind kind = letter == u'y'   ? RawKind::Year
                                 : letter == u'm' ? RawKind::MonthOrMinute
                                 : letter == u'd' ? RawKind::Day
                                 : letter == u'h' ? RawKind::Hour
                                                  : RawKind::Second;
            const qsizetype run = runLength(code, pos);
            addToken(section, kind, code.mid(pos, run), static_cast<int>(run));
            pos += run;
            break;
        }
        default: {
            const qsizetype length = charLength(code, pos);
            addLiteral(section, code.mid(pos, length));
            pos += length;
            break;
        }
        }
    }
    return true;
}

} // namespace xls::format
