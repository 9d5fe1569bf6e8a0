#pragma once

#include <QStringList>

#include <span>

namespace platform {

// The kinds of face a workbook's font stands for.
enum class FontKind { Sans, Serif, Mono, Gothic, ProportionalGothic, Mincho, ProportionalMincho };

// A font name as workbooks write it, with the kind of face it stands for and, where a free
// font with the same metrics exists, that font's family.
struct NamedFont {
    const char* name; // UTF-8
    FontKind kind;
    const char* sameMetrics = nullptr; // preferred to the kind's families when installed
};

// The one font table of both print paths: the report printer maps fonts through it and the
// private LibreOffice profile replaces fonts by it, so both print a workbook in the same faces.

// The installed families that stand for a kind, best first. The first of each is what the
// package depends on.
QStringList fontFamilies(FontKind kind);
// The family that replaces a named font: its metric twin, or the kind's first.
QString substituteFamily(const NamedFont& named);

// The fonts replaced by name: the Japanese system and form fonts in their full-width and
// ASCII spellings, and the common Latin faces.
std::span<const NamedFont> namedFonts();

} // namespace platform
