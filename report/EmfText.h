#pragma once

#include <QList>
#include <QRectF>
#include <QStringList>

#include <optional>

class QPainter;
class QTransform;

namespace report {

class FontMapper;
struct EmfDeviceContext;
struct EmfRecord;

// The text of an EXTTEXTOUTW (or, narrow, EXTTEXTOUTA) record: where it starts, its
// characters each with the advance the record gives it in logical units (no advances: the
// font's own), the options and the rectangle that the options may fill or clip to.
struct EmfTextRun {
    QPointF reference;
    QStringList characters;
    QList<double> advances;
    quint32 options = 0;
    QRectF rectangle;
};

// Decodes a text record; a narrow one's bytes are read in the code page of the font's
// character set. None when the record is damaged or gives glyph indices instead of text.
std::optional<EmfTextRun> emfTextRun(const EmfRecord& record, bool wide, int charSet);

// Paints metafile text in the device context's font, colour, alignment and background mode.
// Fonts go through the font table, so Japanese faces and texts print in the Japanese fonts.
// Text stays upright where the mapping turns the y axis up, and turns by the font's
// escapement.
class EmfTextPainter {
public:
    explicit EmfTextPainter(const FontMapper& fonts)
        : m_fonts(fonts) {}

    // Returns the width the text took, in logical units along its baseline.
    double paint(QPainter& painter, const EmfDeviceContext& dc, const QTransform& toDevice,
                 const QTransform& deviceToTarget, const EmfTextRun& run) const;

private:
    const FontMapper& m_fonts;
};

} // namespace report
