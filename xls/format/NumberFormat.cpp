#include "xls/format/NumberFormat.h"

#include "xls/format/DateTimeRenderer.h"
#include "xls/format/FormatCode.h"
#include "xls/format/GeneralFormat.h"
#include "xls/format/NumberRenderer.h"

#include <cmath>

namespace xls {

using format::Condition;
using format::FormatSection;
using format::SectionKind;

namespace {

struct Choice {
    const FormatSection* section = nullptr;
    bool minus = false;
};

Condition makeCondition(Condition::Op op) {
    Condition condition;
    condition.op = op;
    return condition;
}

// Without conditions: one section shows every number; with two, the second shows negative
// numbers; with three, the third shows zero. With conditions, the first two sections are tried
// in order, an unconditional first one meaning "above zero" (or "zero or above" when there are
// only two) and an unconditional second one "below zero" (or "anything else" when there are
// only two); a third takes whatever is left. A negative number loses its minus sign in a
// section that only takes numbers below or at zero, whose own text shows the sign.
std::optional<Choice> chooseSection(const QList<FormatSection>& sections, double value) {
    const qsizetype count = sections.size();
    const bool negative = value < 0.0;
    const bool conditional =
        sections[0].condition.isSet() || (count > 1 && sections[1].condition.isSet());
    if (!conditional) {
        if (count == 1)
            return Choice{&sections[0], negative};
        if (value > 0.0 || (value == 0.0 && count == 2))
            return Choice{&sections[0], false};
        if (negative)
            return Choice{&sections[1], false};
        return Choice{&sections[2], false};
    }

    const Condition first =
        sections[0].condition.isSet()
            ? sections[0].condition
            : makeCondition(count >= 3 ? Condition::Op::Greater : Condition::Op::GreaterEqual);
    if (first.matches(value))
        return Choice{&sections[0], negative && !first.onlyNonPositive()};
    if (count >= 2) {
        const Condition& own = sections[1].condition;
        const Condition second =
            own.isSet() ? own
                        : makeCondition(count >= 3 ? Condition::Op::Less : Condition::Op::None);
        if (second.matches(value))
            return Choice{&sections[1], negative && own.isSet() && !own.onlyNonPositive()};
    }
    if (count >= 3)
        return Choice{&sections[2], negative};
    return std::nullopt;
}

FormattedValue textOnly(const QString& text) {
    FormattedValue value;
    value.text = text;
    return value;
}

FormattedValue unshowable() {
    FormattedValue value;
    value.text = QStringLiteral("#");
    value.fillAt = 0;
    value.fillChar = u'#';
    return value;
}

FormattedValue general(double value) {
    FormattedValue out;
    if (value < 0.0)
        out.text += u'-';
    format::appendGeneral(out.text, std::fabs(value));
    return out;
}

} // namespace

NumberFormat::NumberFormat(const QString& code) {
    if (code.isEmpty() || code.compare(u"General", Qt::CaseInsensitive) == 0)
        return;
    if (auto parsed = format::FormatCode::parse(code))
        m_code = std::make_shared<const format::FormatCode>(std::move(*parsed));
}

FormattedValue NumberFormat::formatNumber(double value, DateSystem dates) const {
    if (!std::isfinite(value))
        return textOnly(QStringLiteral("#NUM!"));
    if (!m_code || m_code->numberSections.isEmpty())
        return general(value);
    const auto choice = chooseSection(m_code->numberSections, value);
    if (!choice)
        return unshowable();

    const FormatSection& section = *choice->section;
    FormattedValue out;
    out.color = section.color;
    if (section.tokens.isEmpty())
        return out;
    const double magnitude = std::fabs(value);
    switch (section.kind) {
    case SectionKind::DateTime:
        // Only the 1904 system shows negative dates and times, as the positive one with a minus.
        if (choice->minus) {
            if (dates != DateSystem::Base1904)
                return unshowable();
            out.text += u'-';
        }
        if (!format::renderDateTime(section, magnitude, dates, out))
            return unshowable();
        return out;
    case SectionKind::Text:
        out.text = general(choice->minus ? -magnitude : magnitude).text;
        return out;
    default:
        format::renderNumber(section, magnitude, choice->minus, out);
        return out;
    }
}

FormattedValue NumberFormat::formatText(const QString& text) const {
    if (!m_code || !m_code->textSection)
        return textOnly(text);
    const FormatSection& section = *m_code->textSection;
    FormattedValue out;
    out.color = section.color;
    for (const format::FormatToken& token : section.tokens) {
        if (token.kind == format::TokenKind::Text)
            out.text += text;
        else if (token.kind == format::TokenKind::Fill)
            format::markFill(token, out);
        else
            out.text += token.text;
    }
    return out;
}

bool NumberFormat::isDateOrTime() const {
    return m_code && !m_code->numberSections.isEmpty() &&
           m_code->numberSections[0].kind == SectionKind::DateTime;
}

QString NumberFormat::narrowedNumber(double value,
                                     const std::function<bool(const QString&)>& fits) const {
    return m_code ? QString() : format::narrowedGeneral(value, fits);
}

} // namespace xls
