#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace xls {

// A change of font inside a cell's text: from position on (a QString index, in UTF-16 code
// units) the text is in the font that fontIndex names, through Workbook::font(), up to the
// next run or the end. Characters before the first run are in the cell format's font.
struct TextRun {
    int position = 0;
    int fontIndex = 0;

    bool operator==(const TextRun&) const = default;
};

// What kind of characters the phonetic guide is written in.
enum class PhoneticType { HalfWidthKatakana, FullWidthKatakana, Hiragana, Any };
// How a phonetic guide is placed over its base text.
enum class PhoneticAlignment { General, Left, Center, Distributed };

// A piece of the phonetic guide over a piece of the base text: the guide's characters from
// phoneticStart up to the next run's phoneticStart (or the guide's end) are written over the
// baseLength characters of the cell's text from baseStart. Positions are QString indexes.
struct PhoneticRun {
    int phoneticStart = 0;
    int baseStart = 0;
    int baseLength = 0;

    bool operator==(const PhoneticRun&) const = default;
};

// The phonetic guide (furigana) of a text, with the font it is written in (an index for
// Workbook::font()) and its kind and alignment. Without runs the guide covers the whole text.
struct PhoneticText {
    QString text;
    QList<PhoneticRun> runs;
    int fontIndex = 0;
    PhoneticType type = PhoneticType::FullWidthKatakana;
    PhoneticAlignment alignment = PhoneticAlignment::General;
};

// Formatting that a cell's text carries beyond its cell format: its font runs and its
// phonetic guide. Most texts have neither, so these are kept apart from the cells, once for
// each shared string that has them.
struct RichText {
    QList<TextRun> runs;
    std::optional<PhoneticText> phonetic;

    bool isEmpty() const { return runs.isEmpty() && !phonetic; }
};

} // namespace xls
