#pragma once

#include "PageLayout.h"

#include <QRectF>

#include <memory>
#include <vector>

class QImage;
class QPainter;

namespace xls {
class Sheet;
class Workbook;
} // namespace xls

namespace report {

class CellFonts;
class ShapedText;

// The pages that list a sheet's comments after its own pages, when its page setup prints
// comments at the end: for every comment, shown or hidden, by row and then by column,
// "Cell: C4" and under it "Comment: " with the comment's text in its own fonts, a blank line
// between comments. The list fills the paper between the sheet's margins at full size; a
// comment that does not fit in what is left of a page starts the next one, unless it is
// taller than a page.
class CommentList {
public:
    CommentList(const xls::Workbook& workbook, const xls::Sheet& sheet, const PageFrame& frame,
                const CellFonts& fonts);
    ~CommentList();
    CommentList(const CommentList&) = delete;
    CommentList& operator=(const CommentList&) = delete;

    // 0 when the sheet does not list its comments or has none.
    int pageCount() const { return m_pageCount; }
    // Paints the list's page at ordinal (from 0); the painter draws in the paper's points.
    void paint(QPainter& painter, int ordinal) const;

private:
    // Lines first to last of one comment, on a list page `top` points below its top margin.
    struct Piece {
        int page = 0;
        std::size_t entry = 0;
        int first = 0;
        int last = 0;
        double top = 0;
    };

    void paginate(double pageHeight, double gap);

    QRectF m_printable;               // between the margins, in the paper's points
    std::unique_ptr<QImage> m_device; // 72 dots per inch: the layouts measure in points
    std::vector<std::unique_ptr<ShapedText>> m_entries;
    std::vector<Piece> m_pieces;
    int m_pageCount = 0;
};

} // namespace report
