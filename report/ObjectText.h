#pragma once

#include <QFont>
#include <QRectF>

class QPainter;

namespace xls {
struct ObjectText;
class Workbook;
} // namespace xls

namespace report {

class CellFonts;
class PrintOptions;

// Paints the text of a drawing object: a text box's, a shape's or a control's label.
class ObjectTextPainter {
public:
    ObjectTextPainter(const xls::Workbook& workbook, const CellFonts& fonts,
                      const PrintOptions& options);

    // The box inside the text's margins.
    static QRectF inner(const xls::ObjectText& text, const QRectF& box);
    // The font the text starts in.
    QFont font(const xls::ObjectText& text) const;
    // Paints the text into box (its margins already taken off), wrapped at the box's width,
    // each run in its font and colour, aligned and turned as the text says. Lines below the
    // box are still painted, as the spreadsheet lets text run out of its shape.
    void paint(QPainter& painter, const xls::ObjectText& text, const QRectF& box) const;

private:
    const xls::Workbook& m_workbook;
    const CellFonts& m_fonts;
    const PrintOptions& m_options;
};

} // namespace report
