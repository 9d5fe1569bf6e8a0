#pragma once

#include "HeaderFooter.h"
#include "PageLayout.h"

#include <QColor>
#include <QFont>
#include <QPen>

#include <vector>

class QPainter;

namespace report {

class CellLayout;
class FontMapper;
class PictureDrawing;
class PrintOptions;
struct PlacedRun;

// The layers of a page, painted in this order, each from the page's cell layout: fills,
// gridlines, texts, borders, headings. The painter draws in the cell block's points.
void paintFills(QPainter& painter, const CellLayout& layout);
void paintGridlines(QPainter& painter, const CellLayout& layout);
void paintTexts(QPainter& painter, const CellLayout& layout);
void paintBorders(QPainter& painter, const CellLayout& layout);
// A column's letters as the sheet names it: A to Z, then AA, AB, ...
QString columnLetters(int column);
// Column letters above and row numbers beside the bands of the page, in the sheet's default
// font.
void paintHeadings(QPainter& painter, const LaidOutPage& page, const QFont& font);
// The runs and pictures of a header or footer where their layout placed them, in the paper's
// points.
void paintHeaderFooter(QPainter& painter, const std::vector<PlacedRun>& runs,
                       const PictureDrawing& pictures);

// The pen that draws a border of a style, in points; a null pen for no border.
QPen borderPen(int style, const QColor& color);

} // namespace report
