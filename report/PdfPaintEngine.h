#pragma once

#include "PdfBuffer.h"
#include "PdfDocument.h"
#include "PdfFonts.h"

#include <QBrush>
#include <QHash>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPen>
#include <QSizeF>
#include <QTransform>

#include <vector>

class QPainter;

namespace report {

struct GlyphRun;
class TextShaper;

// Paints into a PDF file as QPainter draws: paths, lines and rectangles become PDF path
// operators, images image objects, texture and hatch brushes tiling patterns, and text glyphs
// of embedded font subsets. The page's y axis points down as the painter's does. Each page's
// content is written out when the page ends, so memory does not grow with the pages.
class PdfPaintEngine : public QPaintEngine {
public:
    PdfPaintEngine(const QString& path, const QString& title, const TextShaper& shaper);
    ~PdfPaintEngine() override;

    // The engine a painter paints with, when it is this kind; null otherwise.
    static PdfPaintEngine* of(QPainter& painter);

    // The size in points of the page begun next.
    void setPageSize(const QSizeF& points) { m_nextSize = points; }
    QSizeF pageSize() const { return m_nextSize; }
    // Ends the page and begins the next; false when the file cannot be written.
    bool newPage();
    QString errorString() const { return m_document.errorString(); }

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;
    void drawRects(const QRectF* rects, int rectCount) override;
    void drawLines(const QLineF* lines, int lineCount) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) override;
    void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override;
    void drawTextItem(const QPointF& origin, const QTextItem& item) override;
    // Glyphs of run.face at run.pointSize on the baseline through origin, in the pen's colour.
    void drawGlyphRun(const QPointF& origin, const GlyphRun& run);
    Type type() const override { return User; }

private:
    // What the content stream has set of the graphics state.
    struct Written {
        QRgb stroke = qRgb(0, 0, 0);
        double width = 1;
        int cap = 0;
        int join = 0;
        double miter = 10;
        QByteArray dash = QByteArrayLiteral("[] 0 d");
        QRgb fill = qRgb(0, 0, 0);
        int pattern = -1; // the fill's pattern, -1 for its colour
        int strokeAlpha = 1000;
        int fillAlpha = 1000;
        bool multiply = false;
        const PdfFonts::Font* font = nullptr;
        double fontSize = 0;
    };
    // A clip as the page's own coordinates give it.
    struct Clip {
        QPainterPath path;
        QRectF rect;
        bool isRect = false;
    };

    void beginPage();
    void endPage();
    void updateStroke();
    void updateFill();
    void addClip(Clip clip, Qt::ClipOperation operation);
    Clip clipOf(const QPainterPath& path) const;
    Clip clipOf(const QRegion& region) const;

    // Brings the clip and the transform of the content stream up to the painter's.
    void prepare();
    void closeLevels();
    void writeClips();
    // Sets the stroke and fill a path is painted with; returns its painting operator, null
    // when it paints nothing.
    const char* preparePaint(bool fill, bool evenOdd, bool rects = false);
    // The content stream, with the painting operator of the path before written first.
    PdfBuffer& out();
    void setStroke();
    void setFillColor(QRgb color);
    void setFillPattern(int pattern);
    void setAlpha(int strokeAlpha, int fillAlpha);
    int pattern();

    void point(double x, double y);
    void writePath(const QPainterPath& path, const QPointF& offset);
    // Ends a path with its painting operator, which is held back while the next call may
    // add to the same path.
    void finishPath(const char* op);
    int image(const QImage& image, const QRect& source);
    int writeImage(const QImage& image);
    QByteArray imageKey(const QImage& image, const QRect& source) const;

    PdfDocument m_document;
    PdfFonts m_fonts;
    const TextShaper& m_shaper;
    QString m_title;
    int m_resources = 0;
    QSizeF m_nextSize{595, 842};
    QSizeF m_page; // the current page's size
    bool m_pageOpen = false;
    PdfBuffer m_content;
    const char* m_pendingOp = nullptr;
    bool m_pendingMergeable = false;

    // The painter's state.
    QPen m_pen;
    QBrush m_brush;
    QPointF m_brushOrigin;
    QTransform m_matrix;
    double m_opacity = 1;
    bool m_multiply = false;
    // What it asks of the content stream.
    bool m_stroking = true;
    Written m_want;
    bool m_filling = false;
    bool m_patternFill = false;
    int m_pattern = -1; // resolved at the next fill
    std::vector<Clip> m_clips;
    bool m_clipEnabled = false;
    bool m_clipDirty = true;

    // The content stream's levels: the clip inside a q, the transform inside another.
    Written m_written;
    Written m_atClip;
    Written m_atTransform;
    bool m_clipOpen = false;
    bool m_transformOpen = false;
    QTransform m_cm;
    QPointF m_offset; // a translation applied to coordinates rather than written as cm

    // Resources shared by all pages, named by their index.
    std::vector<int> m_imageObjects;
    QHash<QByteArray, int> m_images;
    std::vector<int> m_patternObjects;
    QHash<QByteArray, int> m_patterns;
    std::vector<int> m_alphaKeys;
    QHash<int, int> m_alphas;
};

} // namespace report
