#pragma once

#include "CellSources.h"
#include "ShapedText.h"

#include <QColor>
#include <QList>
#include <QString>

#include <vector>

namespace xls {
class Cell;
struct DifferentialFormat;
struct TextRun;
class Workbook;
} // namespace xls

namespace report {

// The most characters of its text a cell shows; the rest is never printed.
constexpr qsizetype kMaxShownCharacters = 1024;

// The first characters a cell shows, never half of a surrogate pair.
QString capped(QString text);

// Moves the pieces with their characters: `to` gives each old position its new one.
void remap(std::vector<TextPiece>& pieces, const std::vector<int>& to);
// Removes every `ch` from text; gives the position map for remap(), empty when none went.
std::vector<int> eraseAll(QString& text, QChar ch);
// One line of text: carriage returns left out, line feeds shown as spaces. Gives the
// position map of the characters, empty when none moved.
std::vector<int> withoutLineBreaks(QString& text, std::vector<TextPiece>& pieces);
// The characters of text one to a line (a surrogate pair is one character).
QString stackedLetters(const QString& text, std::vector<TextPiece>& pieces);
// Pieces from their starts: each runs up to the next one's start, the first from 0 and the
// last to the end of a text of `size` characters; empty ones left out.
void fitPieces(std::vector<TextPiece>& pieces, int size);

// A piece in a workbook font from `start` on, with what the condition that holds changes.
// numberColor: the colour the number format asks for, which comes first; else invalid.
TextPiece pieceIn(const CellSources& sources, int fontIndex, int start, const QColor& numberColor,
                  const xls::DifferentialFormat* condition);
// The pieces of a cell's shown text: the cell font's, then each font run's. Runs count in
// the cell's own text, so they hold only where the cell shows it unchanged.
std::vector<TextPiece> piecesOf(const CellSources& sources, const xls::Cell& cell,
                                const QString& shown, const QColor& numberColor,
                                const xls::DifferentialFormat* condition);

// The pieces of a text in the fonts and colours of its runs (a comment's, a text box's), over
// its first length characters: characters before the first run are in baseFontIndex's font;
// runs out of order or past the end are dropped.
std::vector<TextPiece> runPieces(qsizetype length, const QList<xls::TextRun>& runs,
                                 int baseFontIndex, const xls::Workbook& workbook,
                                 const CellFonts& fonts, const PrintOptions& options);

} // namespace report
