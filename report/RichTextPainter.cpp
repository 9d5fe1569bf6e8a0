#include "RichTextPainter.h"

#include "CellFonts.h"
#include "PrintOptions.h"

#include "xls/Workbook.h"

#include <QPainter>
#include <QTextOption>

#include <algorithm>

namespace report {

namespace {

QTextCharFormat runFormat(int fontIndex, const xls::Workbook& workbook, const CellFonts& fonts,
                          const PrintOptions& options) {
    QTextCharFormat format;
    format.setFont(fonts.font(fontIndex));
    format.setForeground(options.ink(workbook.font(fontIndex).colorIndex, Qt::black));
    return format;
}

} // namespace

QList<QTextLayout::FormatRange> runFormats(qsizetype length, const QList<xls::TextRun>& runs,
                                           int baseFontIndex, const xls::Workbook& workbook,
                                           const CellFonts& fonts, const PrintOptions& options) {
    QList<QTextLayout::FormatRange> ranges;
    int start = 0;
    int fontIndex = baseFontIndex;
    const auto close = [&](int end) {
        if (end > start)
            ranges.append({start, end - start, runFormat(fontIndex, workbook, fonts, options)});
    };
    for (const xls::TextRun& run : runs) {
        if (run.position < start || run.position >= length)
            continue;
        close(run.position);
        start = run.position;
        fontIndex = run.fontIndex;
    }
    close(static_cast<int>(length));
    return ranges;
}

RichTextLayout::RichTextLayout(const QString& text, const QList<xls::TextRun>& runs,
                               int baseFontIndex, const xls::Workbook& workbook,
                               const CellFonts& fonts, const PrintOptions& options,
                               QPaintDevice* device)
    : m_layout(QString(text).replace(QLatin1Char('\n'), QChar::LineSeparator),
               fonts.font(baseFontIndex), device) {
    m_layout.setFormats(runFormats(text.size(), runs, baseFontIndex, workbook, fonts, options));
    m_layout.setCacheEnabled(true);
}

void RichTextLayout::wrap(double width, Qt::Alignment alignment) {
    QTextOption option(alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout.setTextOption(option);
    m_layout.beginLayout();
    double y = 0;
    for (QTextLine line = m_layout.createLine(); line.isValid(); line = m_layout.createLine()) {
        line.setLineWidth(std::max(0.0, width));
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    m_layout.endLayout();
}

double RichTextLayout::lineTop(int line) const {
    return m_layout.lineAt(line).y();
}

double RichTextLayout::lineBottom(int line) const {
    const QTextLine text = m_layout.lineAt(line);
    return text.y() + text.height();
}

void RichTextLayout::draw(QPainter& painter, QPointF topLeft, int first, int last) const {
    const QPointF origin = topLeft - QPointF(0, lineTop(first));
    for (int line = first; line <= last; ++line)
        m_layout.lineAt(line).draw(&painter, origin);
}

} // namespace report
