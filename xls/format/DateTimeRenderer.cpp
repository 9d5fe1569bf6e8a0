#include "xls/format/DateTimeRenderer.h"

#include "xls/format/DateSerial.h"
#include "xls/format/JapaneseEra.h"
#include "xls/format/NumberRenderer.h"

#include <array>

namespace xls::format {

namespace {

constexpr std::array<const char16_t*, 12> MonthNames{
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<const char16_t*, 7> DayNames{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                                  u"Thursday", u"Friday", u"Saturday"};
constexpr std::array<char16_t, 7> JapaneseDayNames{u'日', u'月', u'火', u'水', u'木', u'金', u'土'};

void appendNumber(QString& out, qint64 number, int minimumDigits) {
    const QString digits = QString::number(number);
    for (qsizetype i = digits.size(); i < minimumDigits; ++i)
        out += u'0';
    out += digits;
}

void appendMonth(QString& out, int month, int letters, bool japanese) {
    if (letters <= 2) {
        appendNumber(out, month, letters);
        return;
    }
    // Japanese month names are the number and 月; the shortest form keeps the first character.
    const QString name = japanese ? QString::number(month) + u'月'
                                  : QString::fromUtf16(MonthNames[static_cast<size_t>(month - 1)]);
    if (letters == 3 && !japanese)
        out += name.left(3);
    else if (letters >= 5)
        out += name.left(1);
    else
        out += name;
}

void appendJapaneseWeekday(QString& out, int weekday, bool full) {
    out += JapaneseDayNames[static_cast<size_t>(weekday)];
    if (full)
        out += QStringLiteral("曜日");
}

void appendDay(QString& out, const DateSerial& date, int letters, bool japanese) {
    if (letters <= 2) {
        appendNumber(out, date.day(), letters);
        return;
    }
    if (japanese) {
        appendJapaneseWeekday(out, date.weekday(), letters >= 4);
        return;
    }
    const QString name = QString::fromUtf16(DayNames[static_cast<size_t>(date.weekday())]);
    out += letters == 3 ? name.left(3) : name;
}

void appendAmPm(QString& out, const FormatToken& token, bool afternoon, bool japanese) {
    // The spelled-out AM/PM follows the language; A/P stays as written.
    if (japanese && token.text.size() == 2)
        out += afternoon ? QStringLiteral("午後") : QStringLiteral("午前");
    else
        out += afternoon ? token.alternative : token.text;
}

void appendEra(QString& out, const JapaneseEra* era, int letters) {
    if (!era)
        return;
    if (letters == 1)
        out += QChar(era->letter);
    else if (letters == 2)
        out += QChar(era->name[0]);
    else
        out += QString::fromUtf16(era->name);
}

} // namespace

bool renderDateTime(const FormatSection& section, double serial, DateSystem system,
                    FormattedValue& out) {
    const auto date = DateSerial::fromSerial(serial, system, section.secondDecimals);
    if (!date)
        return false;
    const JapaneseEra* era = japaneseEraOf(date->year(), date->month(), date->day());
    const bool japanese = section.japanese();
    for (const FormatToken& token : section.tokens) {
        switch (token.kind) {
        case TokenKind::Literal:
            out.text += token.text;
            break;
        case TokenKind::Fill:
            markFill(token, out);
            break;
        case TokenKind::Year:
            if (token.count <= 2)
                appendNumber(out.text, date->year() % 100, 2);
            else
                appendNumber(out.text, date->year(), 4);
            break;
        case TokenKind::Month:
            appendMonth(out.text, date->month(), token.count, japanese);
            break;
        case TokenKind::Day:
            appendDay(out.text, *date, token.count, japanese);
            break;
        case TokenKind::Hour: {
            const int hour = section.twelveHour ? (date->hour() + 11) % 12 + 1 : date->hour();
            appendNumber(out.text, hour, std::min(token.count, 2));
            break;
        }
        case TokenKind::Minute:
            appendNumber(out.text, date->minute(), std::min(token.count, 2));
            break;
        case TokenKind::Second:
            appendNumber(out.text, date->second(), std::min(token.count, 2));
            break;
        case TokenKind::SecondFraction: {
            int fraction = date->secondFraction();
            for (int i = token.count; i < section.secondDecimals; ++i)
                fraction /= 10;
            appendNumber(out.text, fraction, token.count);
            break;
        }
        case TokenKind::AmPm:
            appendAmPm(out.text, token, date->hour() >= 12, japanese);
            break;
        case TokenKind::ElapsedHours:
            appendNumber(out.text, date->elapsedHours(), token.count);
            break;
        case TokenKind::ElapsedMinutes:
            appendNumber(out.text, date->elapsedMinutes(), token.count);
            break;
        case TokenKind::ElapsedSeconds:
            appendNumber(out.text, date->elapsedSeconds(), token.count);
            break;
        case TokenKind::EraName:
            appendEra(out.text, era, token.count);
            break;
        case TokenKind::EraYear:
            appendNumber(out.text, era ? date->year() - era->startYear + 1 : date->year(),
                         std::min(token.count, 2));
            break;
        case TokenKind::JapaneseWeekday:
            appendJapaneseWeekday(out.text, date->weekday(), token.count >= 4);
            break;
        default:
            break;
        }
    }
    return true;
}

} // namespace xls::format
