#pragma once

#include "HeaderFooter.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QString>

#include <optional>
#include <vector>

class QPaintDevice;

namespace report {

class FontMapper;
class PrintOptions;
struct PageFrame;

// A run of a header or footer placed on the paper, in points: its text in its font and ink
// from the start of its (raised or lowered) baseline, and the second line of a double
// underline.
struct PlacedRun {
    QString text;
    QFont font;
    QColor color;
    QPointF origin;
    std::optional<QLineF> secondUnderline;
    double lineWidth = 0;
};

// Places the lines of a header (or footer) on the paper: each section's lines from the header
// margin down (the footer's from the footer margin up), left, centred or right between the
// page's side margins, each run in its colour as the options print it. defaultFont: for the
// height of empty lines. device: what the runs are measured for.
std::vector<PlacedRun> layOutHeaderFooter(const PageFrame& frame, const HeaderFooterText& text,
                                          const FontMapper& fonts, const QFont& defaultFont,
                                          const PrintOptions& options, bool header,
                                          QPaintDevice* device);

} // namespace report
