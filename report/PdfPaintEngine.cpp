#include "PdfPaintEngine.h"

#include "FontFace.h"
#include "GlyphRuns.h"
#include "TextShaper.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cmath>

namespace report {

namespace {

const QPaintEngine::PaintEngineFeatures kFeatures =
    QPaintEngine::PaintEngineFeatures(QPaintEngine::AllFeatures) &
    ~QPaintEngine::PaintEngineFeatures(QPaintEngine::PerspectiveTransform);
// Images up to this many bytes are told apart by their pixels, so that a small image made
// anew for each use (a cell's fill pattern) is written once.
constexpr qsizetype kSmallImage = 16384;
// Synthetic styles, as fonts are commonly made bold or oblique: outlines stroked a thirtieth of
// the size wide, and leaned a fifth of their height.
constexpr double kEmboldening = 1.0 / 30;
constexpr double kSlant = 0.2;
// Bézier control distance of a quarter circle of radius 1.
constexpr double kKappa = 0.5522847498;

int alphaOf(const QColor& color, double opacity) {
    return static_cast<int>(std::lround(color.alphaF() * opacity * 1000));
}

// The colour a brush paints with where PDF has no equal: a gradient's first stop.
QColor colorOf(const QBrush& brush) {
    if (const QGradient* gradient = brush.gradient(); gradient && !gradient->stops().isEmpty())
        return gradient->stops().constFirst().second;
    return brush.color();
}

bool isHatch(Qt::BrushStyle style) {
    return style >= Qt::Dense1Pattern && style <= Qt::DiagCrossPattern;
}

// The 8 by 8 tile Qt paints a hatch or dense brush with: the brush's colour where set.
QImage hatchTile(const QBrush& brush) {
    QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
    tile.fill(Qt::transparent);
    QPainter painter(&tile);
    painter.fillRect(tile.rect(), QBrush(brush.color(), brush.style()));
    return tile;
}

// A texture's image; a bitmap paints the brush's colour where set and nothing elsewhere.
QImage textureOf(const QBrush& brush) {
    QImage image = brush.textureImage();
    if (image.depth() == 1) {
        image.setColorCount(2);
        image.setColor(0, qRgba(0, 0, 0, 0));
        image.setColor(1, brush.color().rgba());
    }
    return image;
}

void appendMatrix(PdfBuffer& out, const QTransform& m) {
    out.operand(m.m11()).operand(m.m12()).operand(m.m21()).operand(m.m22()).operand(m.dx())
        << m.dy();
}

} // namespace

PdfPaintEngine::PdfPaintEngine(const QString& path, const QString& title, const TextShaper& shaper)
    : QPaintEngine(kFeatures)
    , m_document(path)
    , m_fonts(m_document)
    , m_shaper(shaper)
    , m_title(title) {}

PdfPaintEngine::~PdfPaintEngine() = default;

PdfPaintEngine* PdfPaintEngine::of(QPainter& painter) {
    return dynamic_cast<PdfPaintEngine*>(painter.paintEngine());
}

bool PdfPaintEngine::begin(QPaintDevice*) {
    // A document is painted once: a second painter would begin another in the same file.
    if (m_pageOpen || m_document.pageCount() > 0 || !m_document.open())
        return false;
    m_resources = m_document.reserve();
    beginPage();
    return true;
}

bool PdfPaintEngine::newPage() {
    if (!m_pageOpen)
        return false;
    endPage();
    beginPage();
    return !m_document.failed();
}

bool PdfPaintEngine::end() {
    if (!m_pageOpen)
        return false;
    endPage();
    PdfBuffer resources;
    resources << "<< /ProcSet [/PDF /Text /ImageB /ImageC]";
    m_fonts.write(resources);
    if (!m_imageObjects.empty()) {
        resources << " /XObject <<";
        for (std::size_t i = 0; i < m_imageObjects.size(); ++i)
            resources << " /I" << static_cast<int>(i) << ' ' << m_imageObjects[i] << " 0 R";
        resources << " >>";
    }
    if (!m_patternObjects.empty()) {
        resources << " /Pattern <<";
        for (std::size_t i = 0; i < m_patternObjects.size(); ++i)
            resources << " /P" << static_cast<int>(i) << ' ' << m_patternObjects[i] << " 0 R";
        resources << " >>";
    }
    if (!m_alphaKeys.empty()) {
        resources << " /ExtGState <<";
        for (std::size_t i = 0; i < m_alphaKeys.size(); ++i) {
            const int key = m_alphaKeys[i];
            resources << " /G" << static_cast<int>(i) << " << /CA " << (key & 1023) / 1000.0
                      << " /ca " << ((key >> 10) & 1023) / 1000.0 << " /BM "
                      << ((key >> 20) != 0 ? "/Multiply" : "/Normal") << " >>";
        }
        resources << " >>";
    }
    resources << " >>";
    m_document.writeObject(m_resources, resources.bytes());
    return m_document.finish(m_title);
}

void PdfPaintEngine::beginPage() {
    m_pageOpen = true;
    m_page = m_nextSize;
    m_content.clear();
    // One flip per page puts the origin at the top left with y down, as the painter has it.
    m_content << "1 0 0 -1 0 " << m_page.height() << " cm\n";
    m_written = Written();
    m_clipOpen = false;
    m_transformOpen = false;
    m_cm = QTransform();
    m_clipDirty = true;
    m_pattern = -1;
}

void PdfPaintEngine::endPage() {
    closeLevels();
    out();
    const int contents = m_document.addStream(QByteArray(), m_content.bytes());
    m_content.clear();
    PdfBuffer page;
    page << "<< /Type /Page /Parent " << m_document.pageTree() << " 0 R /MediaBox [0 0 "
         << m_page.width() << ' ' << m_page.height() << "] /Resources " << m_resources
         << " 0 R /Contents " << contents << " 0 R >>";
    m_document.addPage(m_document.addObject(page.bytes()));
    m_pageOpen = false;
}

void PdfPaintEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyTransform)
        m_matrix = state.transform();
    if (flags & DirtyPen)
        m_pen = state.pen();
    if (flags & DirtyBrush)
        m_brush = state.brush();
    if (flags & DirtyBrushOrigin)
        m_brushOrigin = state.brushOrigin();
    if (flags & DirtyOpacity)
        m_opacity = state.opacity();
    if (flags & DirtyCompositionMode)
        m_multiply = state.compositionMode() == QPainter::CompositionMode_Multiply;
    if (flags & (DirtyPen | DirtyTransform | DirtyOpacity | DirtyCompositionMode))
        updateStroke();
    if (flags & (DirtyBrush | DirtyBrushOrigin | DirtyTransform | DirtyOpacity))
        updateFill();
    if (flags & DirtyClipEnabled) {
        m_clipEnabled = state.isClipEnabled();
        m_clipDirty = true;
    }
    if (flags & DirtyClipRegion)
        addClip(clipOf(state.clipRegion()), state.clipOperation());
    if (flags & DirtyClipPath)
        addClip(clipOf(state.clipPath()), state.clipOperation());
}

void PdfPaintEngine::updateStroke() {
    const Qt::PenStyle style = m_pen.style();
    m_stroking = style != Qt::NoPen && m_pen.brush().style() != Qt::NoBrush;
    const QColor color = colorOf(m_pen.brush());
    m_want.stroke = color.rgb();
    m_want.strokeAlpha = alphaOf(color, m_opacity);
    m_want.multiply = m_multiply;
    double width = m_pen.widthF();
    // A cosmetic pen keeps its width in device pixels, which are points here; PDF scales the
    // width by the transform, so it is written divided by the transform's scale.
    if (m_pen.isCosmetic() && width > 0 && m_matrix.type() > QTransform::TxTranslate)
        width /= std::sqrt(std::abs(m_matrix.determinant()));
    m_want.width = width; // 0 is PDF's thinnest line, a hairline as with Qt's own PDF writer
    m_want.cap = m_pen.capStyle() == Qt::RoundCap ? 1 : m_pen.capStyle() == Qt::SquareCap ? 2 : 0;
    m_want.join = m_pen.joinStyle() == Qt::RoundJoin   ? 1
                  : m_pen.joinStyle() == Qt::BevelJoin ? 2
                                                       : 0;
    // Qt measures the miter from the join in half widths, PDF across the line in widths.
    m_want.miter = std::max(1.0, m_pen.miterLimit() * 2);
    if (style == Qt::SolidLine || style == Qt::NoPen) {
        m_want.dash = QByteArrayLiteral("[] 0 d");
        return;
    }
    // Qt's dashes are in pen widths; a hairline's in pixels.
    const double unit = width > 0 ? width : 1;
    PdfBuffer dash;
    dash << '[';
    for (const qreal length : m_pen.dashPattern())
        dash.operand(length * unit);
    dash << "] " << m_pen.dashOffset() * unit << " d";
    m_want.dash = dash.bytes();
}

void PdfPaintEngine::updateFill() {
    const Qt::BrushStyle style = m_brush.style();
    m_filling = style != Qt::NoBrush;
    m_patternFill = style == Qt::TexturePattern || isHatch(style);
    m_pattern = -1;
    const QColor color = colorOf(m_brush);
    m_want.fill = color.rgb();
    m_want.fillAlpha =
        m_patternFill ? alphaOf(QColor(Qt::black), m_opacity) : alphaOf(color, m_opacity);
}

void PdfPaintEngine::addClip(Clip clip, Qt::ClipOperation operation) {
    if (operation == Qt::NoClip || operation == Qt::ReplaceClip)
        m_clips.clear();
    if (operation != Qt::NoClip)
        m_clips.push_back(std::move(clip));
    m_clipEnabled = operation != Qt::NoClip;
    m_clipDirty = true;
}

PdfPaintEngine::Clip PdfPaintEngine::clipOf(const QPainterPath& path) const {
    Clip clip;
    if (m_matrix.type() <= QTransform::TxScale && path.elementCount() == 5 &&
        path.boundingRect() == path.controlPointRect()) {
        const QRectF bounds = path.boundingRect();
        QPainterPath box;
        box.addRect(bounds);
        if (box == path) {
            clip.isRect = true;
            clip.rect = m_matrix.mapRect(bounds);
            return clip;
        }
    }
    clip.path = m_matrix.map(path);
    return clip;
}

PdfPaintEngine::Clip PdfPaintEngine::clipOf(const QRegion& region) const {
    Clip clip;
    if (region.rectCount() == 1 && m_matrix.type() <= QTransform::TxScale) {
        clip.isRect = true;
        clip.rect = m_matrix.mapRect(QRectF(region.boundingRect()));
        return clip;
    }
    QPainterPath path;
    for (const QRect& rect : region)
        path.addRect(rect);
    clip.path = m_matrix.map(path);
    return clip;
}

void PdfPaintEngine::closeLevels() {
    if (m_transformOpen)
        out() << "Q\n";
    if (m_clipOpen) {
        out() << "Q\n";
        m_written = m_atClip;
    } else if (m_transformOpen) {
        m_written = m_atTransform;
    }
    m_transformOpen = false;
    m_clipOpen = false;
    m_cm = QTransform();
}

void PdfPaintEngine::writeClips() {
    m_atClip = m_written;
    m_clipOpen = true;
    out() << "q\n";
    for (const Clip& clip : m_clips) {
        if (clip.isRect) {
            out().operand(clip.rect.x())
                    .operand(clip.rect.y())
                    .operand(clip.rect.width())
                    .operand(clip.rect.height())
                << "re W n\n";
            continue;
        }
        writePath(clip.path, QPointF());
        out() << (clip.path.fillRule() == Qt::OddEvenFill ? "W* n\n" : "W n\n");
    }
}

void PdfPaintEngine::prepare() {
    if (m_clipDirty) {
        closeLevels();
        if (m_clipEnabled && !m_clips.empty())
            writeClips();
        m_clipDirty = false;
    }
    // A translation moves the coordinates written; any other transform is written as cm.
    const bool translation = m_matrix.type() <= QTransform::TxTranslate;
    const QTransform cm = translation ? QTransform() : m_matrix;
    m_offset = translation ? QPointF(m_matrix.dx(), m_matrix.dy()) : QPointF();
    if (cm == m_cm)
        return;
    if (m_transformOpen) {
        out() << "Q\n";
        m_written = m_atTransform;
        m_transformOpen = false;
    }
    m_cm = cm;
    if (translation)
        return;
    m_atTransform = m_written;
    m_transformOpen = true;
    out() << "q ";
    appendMatrix(out(), cm);
    out() << " cm\n";
}

void PdfPaintEngine::setStroke() {
    if (m_written.stroke != m_want.stroke) {
        const QRgb c = m_want.stroke;
        out().operand(qRed(c) / 255.0).operand(qGreen(c) / 255.0).operand(qBlue(c) / 255.0)
            << "RG\n";
        m_written.stroke = c;
    }
    if (m_written.width != m_want.width) {
        out().operand(m_want.width) << "w\n";
        m_written.width = m_want.width;
    }
    if (m_written.cap != m_want.cap) {
        out() << m_want.cap << " J\n";
        m_written.cap = m_want.cap;
    }
    if (m_written.join != m_want.join) {
        out() << m_want.join << " j\n";
        m_written.join = m_want.join;
    }
    if (m_want.join == 0 && m_written.miter != m_want.miter) {
        out().operand(m_want.miter) << "M\n";
        m_written.miter = m_want.miter;
    }
    if (m_written.dash != m_want.dash) {
        out() << m_want.dash << '\n';
        m_written.dash = m_want.dash;
    }
}

void PdfPaintEngine::setFillColor(QRgb color) {
    if (m_written.pattern < 0 && m_written.fill == color)
        return;
    out().operand(qRed(color) / 255.0).operand(qGreen(color) / 255.0).operand(qBlue(color) / 255.0)
        << "rg\n";
    m_written.fill = color;
    m_written.pattern = -1;
}

void PdfPaintEngine::setFillPattern(int pattern) {
    if (m_written.pattern == pattern)
        return;
    out() << "/Pattern cs /P" << pattern << " scn\n";
    m_written.pattern = pattern;
}

void PdfPaintEngine::setAlpha(int strokeAlpha, int fillAlpha) {
    if (m_written.strokeAlpha == strokeAlpha && m_written.fillAlpha == fillAlpha &&
        m_written.multiply == m_multiply)
        return;
    const int key = strokeAlpha | (fillAlpha << 10) | (m_multiply ? 1 << 20 : 0);
    auto known = m_alphas.constFind(key);
    if (known == m_alphas.cend()) {
        known = m_alphas.insert(key, static_cast<int>(m_alphaKeys.size()));
        m_alphaKeys.push_back(key);
    }
    out() << "/G" << *known << " gs\n";
    m_written.strokeAlpha = strokeAlpha;
    m_written.fillAlpha = fillAlpha;
    m_written.multiply = m_multiply;
}

PdfBuffer& PdfPaintEngine::out() {
    if (m_pendingOp != nullptr) {
        m_content << m_pendingOp;
        m_pendingOp = nullptr;
    }
    return m_content;
}

const char* PdfPaintEngine::preparePaint(bool fill, bool evenOdd, bool rects) {
    fill = fill && m_filling;
    const bool stroke = m_stroking;
    if (!fill && !stroke)
        return nullptr;
    prepare();
    if (stroke)
        setStroke();
    if (fill) {
        if (m_patternFill)
            setFillPattern(pattern());
        else
            setFillColor(m_want.fill);
    }
    setAlpha(stroke ? m_want.strokeAlpha : m_written.strokeAlpha,
             fill ? m_want.fillAlpha : m_written.fillAlpha);
    const char* op = fill && stroke ? (evenOdd ? "B*\n" : "B\n")
                     : fill         ? (evenOdd ? "f*\n" : "f\n")
                                    : "S\n";
    // Opaque strokes, and opaque fills of rectangles (which all wind alike), paint the same
    // in one path as one by one: the path stays open for the next such call.
    const bool opaque =
        m_written.strokeAlpha == 1000 && m_written.fillAlpha == 1000 && !m_written.multiply;
    const bool mergeable = opaque && (!fill || (rects && !stroke && !evenOdd));
    if (m_pendingOp != nullptr && !(mergeable && m_pendingMergeable && op == m_pendingOp))
        out();
    m_pendingMergeable = mergeable;
    return op;
}

void PdfPaintEngine::point(double x, double y) {
    m_content.operand(x + m_offset.x()).operand(y + m_offset.y());
}

void PdfPaintEngine::finishPath(const char* op) {
    m_pendingOp = op;
}

void PdfPaintEngine::drawRects(const QRectF* rects, int rectCount) {
    const char* op = preparePaint(true, false, true);
    if (op == nullptr)
        return;
    for (int i = 0; i < rectCount; ++i) {
        point(rects[i].x(), rects[i].y());
        m_content.operand(rects[i].width()).operand(rects[i].height()) << "re\n";
    }
    finishPath(op);
}

void PdfPaintEngine::drawLines(const QLineF* lines, int lineCount) {
    const char* op = preparePaint(false, false);
    if (op == nullptr)
        return;
    for (int i = 0; i < lineCount; ++i) {
        point(lines[i].x1(), lines[i].y1());
        m_content << "m ";
        point(lines[i].x2(), lines[i].y2());
        m_content << "l\n";
    }
    finishPath(op);
}

void PdfPaintEngine::drawEllipse(const QRectF& rect) {
    const char* op = preparePaint(true, false);
    if (op == nullptr)
        return;
    const double cx = rect.center().x();
    const double cy = rect.center().y();
    const double rx = rect.width() / 2;
    const double ry = rect.height() / 2;
    const double kx = rx * kKappa;
    const double ky = ry * kKappa;
    point(cx + rx, cy);
    m_content << "m ";
    const double curves[4][6] = {{cx + rx, cy + ky, cx + kx, cy + ry, cx, cy + ry},
                                 {cx - kx, cy + ry, cx - rx, cy + ky, cx - rx, cy},
                                 {cx - rx, cy - ky, cx - kx, cy - ry, cx, cy - ry},
                                 {cx + kx, cy - ry, cx + rx, cy - ky, cx + rx, cy}};
    for (const auto& c : curves) {
        point(c[0], c[1]);
        point(c[2], c[3]);
        point(c[4], c[5]);
        m_content << "c\n";
    }
    m_content << "h ";
    finishPath(op);
}

void PdfPaintEngine::writePath(const QPainterPath& path, const QPointF& offset) {
    const QPointF saved = m_offset;
    m_offset = offset;
    QPointF start;
    const int count = path.elementCount();
    for (int i = 0; i < count; ++i) {
        const QPainterPath::Element& e = path.elementAt(i);
        if (e.isMoveTo()) {
            start = e;
            point(e.x, e.y);
            m_content << "m\n";
        } else if (e.isLineTo()) {
            point(e.x, e.y);
            // A subpath that returns to its start is closed, so its stroke joins there.
            const bool last = i + 1 == count || path.elementAt(i + 1).isMoveTo();
            m_content << (last && QPointF(e) == start ? "l h\n" : "l\n");
        } else if (e.isCurveTo() && i + 2 < count) {
            point(e.x, e.y);
            point(path.elementAt(i + 1).x, path.elementAt(i + 1).y);
            point(path.elementAt(i + 2).x, path.elementAt(i + 2).y);
            m_content << "c\n";
            i += 2;
        }
    }
    m_offset = saved;
}

void PdfPaintEngine::drawPath(const QPainterPath& path) {
    const char* op = preparePaint(true, path.fillRule() == Qt::OddEvenFill);
    if (op == nullptr)
        return;
    writePath(path, m_offset);
    finishPath(op);
}

void PdfPaintEngine::drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) {
    if (pointCount < 2)
        return;
    const bool polyline = mode == PolylineMode;
    const char* op = preparePaint(!polyline, mode == OddEvenMode);
    if (op == nullptr)
        return;
    point(points[0].x(), points[0].y());
    m_content << "m\n";
    for (int i = 1; i < pointCount; ++i) {
        point(points[i].x(), points[i].y());
        m_content << "l\n";
    }
    if (!polyline)
        m_content << "h ";
    finishPath(op);
}

int PdfPaintEngine::pattern() {
    if (m_pattern >= 0)
        return m_pattern;
    const QImage tile = isHatch(m_brush.style()) ? hatchTile(m_brush) : textureOf(m_brush);
    // Pattern space maps to the page's default space, not to the current transform.
    const QTransform matrix = m_brush.transform() *
                              QTransform::fromTranslate(m_brushOrigin.x(), m_brushOrigin.y()) *
                              m_matrix * QTransform(1, 0, 0, -1, 0, m_page.height());
    QByteArray key = imageKey(tile, tile.rect());
    const qreal entries[6] = {matrix.m11(), matrix.m12(), matrix.m21(),
                              matrix.m22(), matrix.dx(),  matrix.dy()};
    key.append(reinterpret_cast<const char*>(entries), sizeof entries);
    if (const auto known = m_patterns.constFind(key); known != m_patterns.cend())
        return m_pattern = *known;
    const int imageIndex = image(tile, tile.rect());
    PdfBuffer dictionary;
    dictionary << " /Type /Pattern /PatternType 1 /PaintType 1 /TilingType 1 /BBox [0 0 "
               << tile.width() << ' ' << tile.height() << "] /XStep " << tile.width() << " /YStep "
               << tile.height() << " /Matrix [";
    appendMatrix(dictionary, matrix);
    dictionary << "] /Resources << /XObject << /I" << imageIndex << ' '
               << m_imageObjects[imageIndex] << " 0 R >> >>";
    PdfBuffer content;
    content << "q " << tile.width() << " 0 0 " << -tile.height() << " 0 " << tile.height()
            << " cm /I" << imageIndex << " Do Q";
    m_pattern = static_cast<int>(m_patternObjects.size());
    m_patternObjects.push_back(m_document.addStream(dictionary.bytes(), content.bytes()));
    m_patterns.insert(key, m_pattern);
    return m_pattern;
}

QByteArray PdfPaintEngine::imageKey(const QImage& image, const QRect& source) const {
    const int header[5] = {source.x(), source.y(), source.width(), source.height(),
                           static_cast<int>(image.format())};
    QByteArray key(reinterpret_cast<const char*>(header), sizeof header);
    if (image.sizeInBytes() <= kSmallImage) {
        key.append(QByteArray::number(image.width())).append('x');
        key.append(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
        return key;
    }
    const qint64 cacheKey = image.cacheKey();
    return key.append(reinterpret_cast<const char*>(&cacheKey), sizeof cacheKey);
}

int PdfPaintEngine::image(const QImage& image, const QRect& source) {
    const QByteArray key = imageKey(image, source);
    if (const auto known = m_images.constFind(key); known != m_images.cend())
        return *known;
    const int index = static_cast<int>(m_imageObjects.size());
    m_imageObjects.push_back(writeImage(source == image.rect() ? image : image.copy(source)));
    m_images.insert(key, index);
    return index;
}

int PdfPaintEngine::writeImage(const QImage& image) {
    const int width = image.width();
    const int height = image.height();
    QByteArray rgb(static_cast<qsizetype>(width) * height * 3, Qt::Uninitialized);
    QByteArray alpha;
    PdfBuffer dictionary;
    dictionary << " /Type /XObject /Subtype /Image /Width " << width << " /Height " << height
               << " /BitsPerComponent 8";
    if (image.hasAlphaChannel()) {
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        alpha.resize(static_cast<qsizetype>(width) * height);
        char* colour = rgb.data();
        char* opacity = alpha.data();
        bool opaque = true;
        for (int y = 0; y < height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            for (int x = 0; x < width; ++x) {
                *colour++ = static_cast<char>(qRed(line[x]));
                *colour++ = static_cast<char>(qGreen(line[x]));
                *colour++ = static_cast<char>(qBlue(line[x]));
                *opacity++ = static_cast<char>(qAlpha(line[x]));
                opaque = opaque && qAlpha(line[x]) == 255;
            }
        }
        if (!opaque) {
            PdfBuffer mask;
            mask << " /Type /XObject /Subtype /Image /Width " << width << " /Height " << height
                 << " /BitsPerComponent 8 /ColorSpace /DeviceGray";
            dictionary << " /SMask " << m_document.addStream(mask.bytes(), alpha) << " 0 R";
        }
    } else {
        const QImage packed = image.convertToFormat(QImage::Format_RGB888);
        for (int y = 0; y < height; ++y)
            std::memcpy(rgb.data() + static_cast<qsizetype>(y) * width * 3, packed.constScanLine(y),
                        static_cast<std::size_t>(width) * 3);
    }
    dictionary << " /ColorSpace /DeviceRGB";
    return m_document.addStream(dictionary.bytes(), rgb);
}

void PdfPaintEngine::drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                               Qt::ImageConversionFlags) {
    const QRect sourceRect = source.toAlignedRect() & image.rect();
    if (sourceRect.isEmpty() || rect.isEmpty())
        return;
    const int index = this->image(image, sourceRect);
    prepare();
    setAlpha(m_written.strokeAlpha, alphaOf(QColor(Qt::black), m_opacity));
    // The image's first row at the rectangle's top: its unit square flipped into place.
    out() << "q " << rect.width() << " 0 0 " << -rect.height() << ' ' << rect.x() + m_offset.x()
          << ' ' << rect.bottom() + m_offset.y() << " cm /I" << index << " Do Q\n";
}

void PdfPaintEngine::drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) {
    drawImage(rect, pixmap.toImage(), source, Qt::AutoColor);
}

void PdfPaintEngine::drawTextItem(const QPointF& origin, const QTextItem& item) {
    // Glyphs without their text (QPainter::drawGlyphRun) cannot be shaped again: Qt's own
    // fallback fills their outlines.
    if (item.text().isEmpty()) {
        QPaintEngine::drawTextItem(origin, item);
        return;
    }
    const ShapedLine line = m_shaper.shape(item.text(), item.font());
    for (const GlyphRun& run : line.runs)
        drawGlyphRun(origin, run);
}

void PdfPaintEngine::drawGlyphRun(const QPointF& origin, const GlyphRun& run) {
    if (run.face == nullptr || run.glyphs.empty() || m_pen.style() == Qt::NoPen)
        return;
    prepare();
    const QColor color = colorOf(m_pen.brush());
    setFillColor(color.rgb());
    setAlpha(m_written.strokeAlpha, alphaOf(color, m_opacity));
    PdfFonts::Font& font = m_fonts.font(*run.face);
    const double size = run.pointSize;
    // Synthetic bold strokes the outlines too, in a graphics state of its own.
    if (run.emboldened) {
        out() << "q ";
        m_content.operand(color.redF()).operand(color.greenF()).operand(color.blueF())
            << "RG " << size * kEmboldening << " w 2 Tr ";
    }
    out() << "BT ";
    if (run.emboldened || m_written.font != &font || m_written.fontSize != size) {
        m_content << font.name() << ' ' << size << " Tf ";
        m_written.font = run.emboldened ? nullptr : &font;
        m_written.fontSize = size;
    }
    // The text matrix flips y back up, so the glyphs stand upright on the y-down page; synthetic
    // italic leans them.
    m_content << "1 0 " << (run.slanted ? kSlant : 0.0) << " -1 "
              << origin.x() + run.x[0] + m_offset.x() << ' ' << origin.y() + m_offset.y()
              << " Tm [<";
    const double toPoints = size / 1000;
    double pen = run.x[0];
    for (std::size_t i = 0; i < run.glyphs.size(); ++i) {
        const double x = i < run.x.size() ? run.x[i] : pen;
        if (std::abs(x - pen) > 0.001) {
            m_content << "> " << (pen - x) / toPoints << " <";
        }
        const char32_t character = i < run.characters.size() ? run.characters[i] : 0;
        m_content.appendHex(font.code(run.glyphs[i], character));
        pen = x + font.width(run.glyphs[i]) * toPoints;
    }
    m_content << ">] TJ ET\n";
    if (run.emboldened)
        m_content << "Q\n";
}

} // namespace report
