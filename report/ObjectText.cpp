#include "ObjectText.h"

#include "CellFonts.h"
#include "ShapedText.h"
#include "SheetLimits.h"
#include "TextPieces.h"

#include "xls/SheetObject.h"
#include "xls/Workbook.h"

#include <QPainter>

#include <algorithm>

namespace report {

namespace {

Qt::Alignment horizontal(xls::TextHAlign align) {
    switch (align) {
    case xls::TextHAlign::Center:
        return Qt::AlignHCenter;
    case xls::TextHAlign::Right:
        return Qt::AlignRight;
    case xls::TextHAlign::Justify:
    case xls::TextHAlign::Distributed:
        return Qt::AlignJustify;
    default:
        return Qt::AlignLeft;
    }
}

// The text as the layout takes it: paragraph breaks as line separators.
QString laidOutText(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QChar::LineSeparator);
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    return shown;
}

// The text shaped for a box `width` wide: wrapped at that width (a word longer than it broken
// where it must), or stacked one character a line, each line centred on the others.
ShapedText shaped(const xls::ObjectText& text, QString shown, std::vector<TextPiece> pieces,
                  double width, const QPainter& painter) {
    if (text.orientation != xls::TextOrientation::Stacked) {
        // A box of no width still breaks its text, a character a line.
        constexpr double kNarrowest = 1e-3;
        return {shown, std::move(pieces), painter.device(), horizontal(text.hAlign),
                std::max(width, kNarrowest)};
    }
    remap(pieces, eraseAll(shown, QChar::LineSeparator));
    const QString stacked = stackedLetters(shown, pieces);
    return {stacked, std::move(pieces), painter.device(), Qt::AlignHCenter};
}

} // namespace

ObjectTextPainter::ObjectTextPainter(const xls::Workbook& workbook, const CellFonts& fonts,
                                     const PrintOptions& options)
    : m_workbook(workbook)
    , m_fonts(fonts)
    , m_options(options) {}

QRectF ObjectTextPainter::inner(const xls::ObjectText& text, const QRectF& box) {
    const auto points = [](int emu) { return std::max(0, emu) / kEmuPerPoint; };
    QRectF inside = box.adjusted(points(text.marginLeft), points(text.marginTop),
                                 -points(text.marginRight), -points(text.marginBottom));
    if (inside.width() < 0)
        inside.setWidth(0);
    if (inside.height() < 0)
        inside.setHeight(0);
    return inside;
}

QFont ObjectTextPainter::font(const xls::ObjectText& text) const {
    const bool fromStart = !text.runs.isEmpty() && text.runs.front().position == 0;
    return m_fonts.font(fromStart ? text.runs.front().fontIndex : 0);
}

void ObjectTextPainter::paint(QPainter& painter, const xls::ObjectText& text,
                              const QRectF& box) const {
    const QString shown = laidOutText(text.text);
    if (shown.trimmed().isEmpty())
        return;
    // Turned text is laid out across the box's height.
    const bool turned = text.orientation == xls::TextOrientation::Up ||
                        text.orientation == xls::TextOrientation::Down;
    const QSizeF area = turned ? box.size().transposed() : box.size();

    std::vector<TextPiece> pieces =
        runPieces(shown.size(), text.runs, 0, m_workbook, m_fonts, m_options);
    const ShapedText layout = shaped(text, shown, std::move(pieces), area.width(), painter);
    const double height = layout.height();
    double top = 0;
    if (text.vAlign == xls::TextVAlign::Middle)
        top = (area.height() - height) / 2;
    else if (text.vAlign == xls::TextVAlign::Bottom)
        top = area.height() - height;
    painter.save();
    painter.translate(box.center());
    if (turned)
        painter.rotate(text.orientation == xls::TextOrientation::Up ? -90 : 90);
    const double left = text.orientation == xls::TextOrientation::Stacked
                            ? (area.width() - layout.width()) / 2
                            : 0.0;
    layout.draw(painter, QPointF(-area.width() / 2 + left, -area.height() / 2 + top));
    painter.restore();
}

} // namespace report
