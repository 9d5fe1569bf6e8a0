#include "CommentList.h"

#include "CellFonts.h"
#include "PageLayers.h"
#include "PrintOptions.h"
#include "TextPieces.h"

#include "xls/Sheet.h"
#include "xls/Workbook.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace report {

namespace {

constexpr int kDotsPerMeterAt72Dpi = 2835;

// The sheet's comments in the order the list prints them: by row, then by column.
std::vector<const xls::SheetObject*> listedComments(const xls::Sheet& sheet) {
    std::vector<const xls::SheetObject*> comments;
    if (sheet.pageSetup().comments != xls::CommentPrinting::AtEnd)
        return comments;
    for (const xls::SheetObject& object : sheet.objects()) {
        if (object.kind == xls::ObjectKind::Comment && object.note)
            comments.push_back(&object);
    }
    std::stable_sort(comments.begin(), comments.end(), [](const auto* a, const auto* b) {
        return std::pair(a->note->row, a->note->column) < std::pair(b->note->row, b->note->column);
    });
    return comments;
}

} // namespace

CommentList::CommentList(const xls::Workbook& workbook, const xls::Sheet& sheet,
                         const PageFrame& frame, const CellFonts& fonts)
    : m_printable(frame.pageLayout.paintRect(QPageLayout::Point)) {
    const std::vector<const xls::SheetObject*> comments = listedComments(sheet);
    if (comments.empty())
        return;
    auto device = std::make_unique<QImage>(1, 1, QImage::Format_RGB32);
    device->setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    device->setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    m_device = std::move(device);
    const PrintOptions options(workbook.palette(), sheet.pageSetup());
    for (const xls::SheetObject* comment : comments) {
        const QString prefix = QStringLiteral("Cell: %1%2\nComment: ")
                                   .arg(columnLetters(comment->note->column))
                                   .arg(comment->note->row + 1);
        QString text = prefix;
        QList<xls::TextRun> runs;
        if (comment->text) {
            text += comment->text->text;
            for (xls::TextRun run : comment->text->runs) {
                run.position += static_cast<int>(prefix.size());
                runs.append(run);
            }
        }
        std::vector<TextPiece> pieces = runPieces(text.size(), runs, 0, workbook, fonts, options);
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        m_entries.push_back(std::make_unique<ShapedText>(text, std::move(pieces), m_device.get(),
                                                         Qt::AlignLeft, m_printable.width(),
                                                         &fonts.shaper()));
    }
    paginate(m_printable.height(), QFontMetricsF(fonts.font(0), m_device.get()).height());
}

CommentList::~CommentList() = default;

void CommentList::paginate(double pageHeight, double gap) {
    int page = 0;
    double y = 0;
    for (std::size_t entry = 0; entry < m_entries.size(); ++entry) {
        const ShapedText& layout = *m_entries[entry];
        if (y > 0)
            y += gap;
        if (y > 0 && y + layout.height() > pageHeight && layout.height() <= pageHeight) {
            ++page;
            y = 0;
        }
        Piece piece{page, entry, 0, -1, y};
        for (int line = 0; line < layout.lineCount(); ++line) {
            const double height = layout.lineBottom(line) - layout.lineTop(line);
            if (y > 0 && y + height > pageHeight) {
                if (piece.last >= piece.first)
                    m_pieces.push_back(piece);
                ++page;
                y = 0;
                piece = {page, entry, line, line - 1, 0};
            }
            piece.last = line;
            y += height;
        }
        if (piece.last >= piece.first)
            m_pieces.push_back(piece);
    }
    m_pageCount = m_entries.empty() ? 0 : page + 1;
}

void CommentList::paint(QPainter& painter, int ordinal) const {
    painter.save();
    painter.setClipRect(m_printable, Qt::IntersectClip);
    for (const Piece& piece : m_pieces) {
        if (piece.page == ordinal)
            m_entries[piece.entry]->drawLines(
                painter, m_printable.topLeft() + QPointF(0, piece.top), piece.first, piece.last);
    }
    painter.restore();
}

} // namespace report
