#pragma once

#include <QStringList>

#include <span>

namespace platform {

// The kinds of face a workbook's font stands for.
enum class FontKind { Sans, Serif, Mono, Gothic, ProportionalGothic, Mincho, ProportionalMincho };

// A font name as workbooks write it, with the kind of face it stands for.
struct NamedFont {
    const char* name; // UTF-8
    FontKind kind;
};

// The one font table of both print paths: the report printer maps fonts through it and the
// private LibreOffice profile replaces fonts by it, so both print a workbook in the same faces.

// The installed families that stand for a kind, best first. The first of each is what the
// package depends on.
QStringList fontFamilies(FontKind kind);

// The fonts replaced by name: the Japanese system fonts in their full-width and ASCII
// spellings, and the common Latin faces.
std::span<const NamedFont> namedFonts();

} // namespace platform
