#pragma once

#include "CellSources.h"
#include "PageLayout.h"
#include "SlotText.h"

#include <QRectF>

#include <vector>

class QPaintDevice;

namespace xls {
class Cell;
struct FormattedValue;
struct PhoneticText;
} // namespace xls

namespace report {

class MergedRuns;

// Decides the text a cell shows on a page: its pieces shaped in their fonts, with `*` fill,
// shrinking, repetition or a narrowed number as its format asks, aligned in its cell, and
// the phonetic guide over it.
class TextPlacement {
public:
    // formats: each slot's own format, row slot by row slot. device: what the texts are
    // shaped for.
    TextPlacement(const CellSources& sources, const LaidOutPage& page, const MergedRuns& merges,
                  const std::vector<const xls::CellFormat*>& formats, QPaintDevice* device);

    // Decides a cell's text within area, its cell (or merged area) at slot c on the page, or
    // off the page's columns for c = -1. False when it shows none.
    bool shape(int r, int c, const xls::Cell& cell, QRectF area, SlotText& text) const;

private:
    void placeLine(const xls::Cell& cell, const xls::CellFormat& format,
                   const xls::FormattedValue& shown, std::vector<TextPiece> pieces,
                   SlotText& text) const;
    void placeGuide(const xls::PhoneticText& phonetic, const std::vector<int>& moved,
                    int cellLength, SlotText& text) const;
    QColor color(int index, const QColor& automatic) const;

    const CellSources& m_sources;
    const LaidOutPage& m_page;
    const MergedRuns& m_merges;
    const std::vector<const xls::CellFormat*>& m_formats;
    QPaintDevice* m_device;
};

} // namespace report
