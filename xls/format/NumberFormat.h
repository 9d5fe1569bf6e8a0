#pragma once

#include <QChar>
#include <QString>

#include <functional>
#include <memory>

namespace xls {

namespace format {
struct FormatCode;
}

enum class DateSystem { Base1900, Base1904 };

// What a cell shows. `_x` spacing comes out as one blank; a `*x` fill is not in text but
// described by fillAt/fillChar (the printer repeats fillChar at fillAt to fill the cell width).
// A value the format cannot show (a date out of range, a number no section accepts) is "#"
// filled with '#', as the spreadsheet fills such a cell with #.
struct FormattedValue {
    QString text;
    qsizetype fillAt = -1; // index into text where the fill goes, -1 for none
    QChar fillChar;
    int color = 0; // 0: none; else the [ColorN] number 1..56 ([Black] = 1, [White] = 2,
                   // [Red] = 3, [Green] = 4, [Blue] = 5, [Yellow] = 6, [Magenta] = 7,
                   // [Cyan] = 8)
};

// One number-format code, parsed once and applied to many values. Never throws: a code it cannot
// parse formats like General. Copies share the parsed code.
class NumberFormat {
public:
    explicit NumberFormat(const QString& code);

    FormattedValue formatNumber(double value, DateSystem dates) const;
    FormattedValue formatText(const QString& text) const; // the text section, or @
    bool isDateOrTime() const;                            // the first section shows a date or time
    // A number too wide for its cell: in the General format its text narrowed until fits()
    // holds (fewer decimals, then exponent notation); the empty text when nothing fits or the
    // format is another, whose numbers show # marks instead.
    QString narrowedNumber(double value, const std::function<bool(const QString&)>& fits) const;

private:
    std::shared_ptr<const format::FormatCode> m_code; // null for General
};

// The code of a built-in number format as Japanese Excel numbers them (0-49 and the Japanese
// 27-36, 50-58); the empty text for an index that has no built-in code.
QString builtInFormatCode(int index);

} // namespace xls
