#pragma once

#include "HeaderFooter.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <array>
#include <optional>
#include <vector>

class QPaintDevice;

namespace xls {
struct HeaderFooterPicture;
struct Picture;
} // namespace xls

namespace report {

class FontMapper;
class PrintOptions;
struct PageFrame;

// A run of a header or footer placed on the paper, in points: its text in its font and ink
// from the start of its (raised or lowered) baseline, and the second line of a double
// underline; or, for a &G code, the section's picture and the box it fills.
struct PlacedRun {
    QString text;
    QFont font;
    QColor color;
    QPointF origin;
    std::optional<QLineF> secondUnderline;
    double lineWidth = 0;
    const xls::Picture* picture = nullptr;
    QRectF pictureBox;
};

// The pictures of the left, centre and right sections; nullptr where a section has none.
using SectionPictures = std::array<const xls::HeaderFooterPicture*, 3>;

// Places the lines of a header (or footer) on the paper: each section's lines from the header
// margin down (the footer's from the footer margin up), left, centred or right between the
// page's side margins, each run in its colour as the options print it. A &G run places the
// section's picture at its size (96 pixels to the inch) with its foot on the line's baseline:
// the line is as tall as the picture needs. A section without a picture prints nothing for
// &G. defaultFont: for the height of empty lines. device: what the runs are measured for.
std::vector<PlacedRun> layOutHeaderFooter(const PageFrame& frame, const HeaderFooterText& text,
                                          const SectionPictures& pictures, const FontMapper& fonts,
                                          const QFont& defaultFont, const PrintOptions& options,
                                          bool header, QPaintDevice* device);

} // namespace report
