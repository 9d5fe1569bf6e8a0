#include "TextPieces.h"

#include "CellFonts.h"
#include "PrintOptions.h"

#include "xls/Workbook.h"

#include <algorithm>

namespace report {

namespace {

// What a conditional format changes of a font.
void overlay(QFont& font, const xls::DifferentialFormat* condition) {
    if (condition == nullptr)
        return;
    if (condition->bold)
        font.setBold(*condition->bold);
    if (condition->italic)
        font.setItalic(*condition->italic);
    if (condition->strikeout)
        font.setStrikeOut(*condition->strikeout);
    if (condition->underline)
        font.setUnderline(*condition->underline == xls::Underline::Single);
}

// Superscript is raised by a third of its font's full size and subscript lowered by a
// sixth, so that both stay within the line.
double riseOf(const xls::Font& font) {
    const double size = font.height / 20.0;
    if (font.script == xls::Script::Superscript)
        return size / 3;
    if (font.script == xls::Script::Subscript)
        return -size / 6;
    return 0;
}

} // namespace

QString capped(QString text) {
    if (text.size() > kMaxShownCharacters) {
        text.truncate(kMaxShownCharacters);
        if (text.back().isHighSurrogate())
            text.chop(1);
    }
    return text;
}

void remap(std::vector<TextPiece>& pieces, const std::vector<int>& to) {
    if (to.empty())
        return;
    for (TextPiece& piece : pieces) {
        piece.start = to[static_cast<size_t>(piece.start)];
        piece.end = to[static_cast<size_t>(piece.end)];
    }
}

std::vector<int> eraseAll(QString& text, QChar ch) {
    if (!text.contains(ch))
        return {};
    std::vector<int> to(static_cast<size_t>(text.size()) + 1);
    QString kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        to[static_cast<size_t>(i)] = static_cast<int>(kept.size());
        if (text[i] != ch)
            kept += text[i];
    }
    to.back() = static_cast<int>(kept.size());
    text = kept;
    return to;
}

std::vector<int> withoutLineBreaks(QString& text, std::vector<TextPiece>& pieces) {
    std::vector<int> to = eraseAll(text, QLatin1Char('\r'));
    remap(pieces, to);
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return to;
}

QString stackedLetters(const QString& text, std::vector<TextPiece>& pieces) {
    std::vector<int> to(static_cast<size_t>(text.size()) + 1);
    QString stacked;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i > 0 && !text[i].isLowSurrogate())
            stacked += QChar::LineSeparator;
        to[static_cast<size_t>(i)] = static_cast<int>(stacked.size());
        stacked += text[i];
    }
    to.back() = static_cast<int>(stacked.size());
    remap(pieces, to);
    return stacked;
}

void fitPieces(std::vector<TextPiece>& pieces, int size) {
    for (size_t i = 0; i < pieces.size(); ++i)
        pieces[i].end = i + 1 < pieces.size() ? std::min(pieces[i + 1].start, size) : size;
    std::erase_if(pieces, [](const TextPiece& piece) { return piece.end <= piece.start; });
    if (!pieces.empty())
        pieces.front().start = 0;
}

TextPiece pieceIn(const CellSources& sources, int fontIndex, int start, const QColor& numberColor,
                  const xls::DifferentialFormat* condition) {
    const xls::Font& font = sources.workbook.font(fontIndex);
    TextPiece piece{start, start, sources.fonts.font(fontIndex), numberColor, riseOf(font)};
    overlay(piece.font, condition);
    if (!piece.color.isValid()) {
        const bool conditioned = condition != nullptr && condition->fontColorIndex;
        piece.color = sources.options.ink(
            conditioned ? *condition->fontColorIndex : font.colorIndex, Qt::black);
    }
    return piece;
}

std::vector<TextPiece> piecesOf(const CellSources& sources, const xls::Cell& cell,
                                const QString& shown, const QColor& numberColor,
                                const xls::DifferentialFormat* condition) {
    const xls::Workbook& workbook = sources.workbook;
    std::vector<TextPiece> pieces{pieceIn(
        sources, workbook.cellFormat(cell.formatIndex()).fontIndex, 0, numberColor, condition)};
    const QList<xls::TextRun>& runs = workbook.textRuns(cell);
    if (!runs.isEmpty() && cell.text().startsWith(shown)) {
        for (const xls::TextRun& run : runs) {
            while (!pieces.empty() && pieces.back().start >= run.position)
                pieces.pop_back();
            pieces.push_back(pieceIn(sources, run.fontIndex, run.position, numberColor, condition));
        }
    }
    fitPieces(pieces, static_cast<int>(shown.size()));
    return pieces;
}

std::vector<TextPiece> runPieces(qsizetype length, const QList<xls::TextRun>& runs,
                                 int baseFontIndex, const xls::Workbook& workbook,
                                 const CellFonts& fonts, const PrintOptions& options) {
    std::vector<TextPiece> pieces;
    int start = 0;
    int fontIndex = baseFontIndex;
    const auto close = [&](int end) {
        if (end > start)
            pieces.push_back({start, end, fonts.font(fontIndex),
                              options.ink(workbook.font(fontIndex).colorIndex, Qt::black), 0});
    };
    for (const xls::TextRun& run : runs) {
        if (run.position < start || run.position >= length)
            continue;
        close(run.position);
        start = run.position;
        fontIndex = run.fontIndex;
    }
    close(static_cast<int>(length));
    return pieces;
}

} // namespace report
