#pragma once

#include "ChartPainter.h"
#include "ObjectPlacement.h"
#include "ObjectText.h"
#include "PictureDrawing.h"

#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace xls {
class Sheet;
class Workbook;
struct SheetObject;
} // namespace xls

namespace report {

class CellFonts;
class FontMapper;
class PrintOptions;
class SheetMetrics;
struct LaidOutPage;

// The sheet's drawing objects on a page, above the cells: pictures, shapes, lines, text
// boxes, groups, form controls, charts, and comment boxes where the sheet prints comments as
// displayed, in the sheet's drawing order. An object is placed by its cell anchor through the
// widths and heights the cells print with, and clipped to the page's own rows and columns: one that
// spans a page break prints in part on each page, and print titles repeated on a page do not repeat
// the objects over them. In black and white, lines and text print black, fills white and pictures
// grey.
class ObjectLayer {
public:
    ObjectLayer(const xls::Workbook& workbook, const xls::Sheet& sheet, const SheetMetrics& metrics,
                const CellFonts& fonts, const PrintOptions& options);

    // The objects a page shows, decided before anything is drawn: the part of the page they
    // may paint on, and each object's box there, in drawing order.
    struct Placed {
        QRectF shown;
        std::vector<std::pair<const xls::SheetObject*, QRectF>> boxes;
    };
    Placed place(const LaidOutPage& page) const;
    // The painter draws in the page's cell block points, as the cell layers do.
    void paint(QPainter& painter, const Placed& placed) const;

private:
    void paintObject(QPainter& painter, const xls::SheetObject& object, const QRectF& box) const;
    void paintChildren(QPainter& painter, const xls::SheetObject& group, const QRectF& box) const;
    void paintShape(QPainter& painter, const xls::SheetObject& object, const QRectF& box) const;
    void paintLine(QPainter& painter, const xls::SheetObject& object, const QRectF& box) const;
    void paintPicture(QPainter& painter, const xls::SheetObject& object, const QRectF& box) const;

    const xls::Workbook& m_workbook;
    const xls::Sheet& m_sheet;
    const PrintOptions& m_options;
    ObjectTextPainter m_text;
    ChartPainter m_charts;
    std::optional<ObjectPlacement> m_placement; // made when the sheet has objects that print
    PictureDrawing m_pictures;
};

} // namespace report
