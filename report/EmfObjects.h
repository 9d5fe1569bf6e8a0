#pragma once

#include <QBrush>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <variant>

namespace report {

struct EmfRecord;

// A metafile's pen. A cosmetic pen (and one of width 0) is one device pixel wide whatever the
// mapping; another is width logical units wide.
struct EmfPen {
    Qt::PenStyle style = Qt::SolidLine;
    QList<qreal> dashes; // a user style's dashes and gaps, in logical units
    double width = 0;
    bool cosmetic = true;
    QColor color = Qt::black;
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
};

// A metafile's brush. Hatched brushes fill their gaps with the background colour where the
// background mode is opaque.
struct EmfBrush {
    QBrush brush{Qt::white};
    bool hatched = false;
};

// A metafile's logical font: height in logical units (negative: the em; positive: the cell,
// em and internal leading), width (0: the font's own), escapement in tenths of a degree
// counterclockwise, and the face name the font table maps.
struct EmfFont {
    qint32 height = 0;
    qint32 width = 0;
    qint32 escapement = 0;
    qint32 weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    quint8 charSet = 0;
    quint8 pitchAndFamily = 0;
    QString face;
};

using EmfObject = std::variant<EmfPen, EmfBrush, EmfFont>;

// The object a CREATEPEN, EXTCREATEPEN, CREATEBRUSHINDIRECT, CREATEDIBPATTERNBRUSHPT,
// CREATEMONOBRUSH or EXTCREATEFONTINDIRECTW record makes, with the table index it goes to.
struct CreatedObject {
    quint32 index = 0;
    EmfObject object;
};
std::optional<CreatedObject> createdObject(const EmfRecord& record);

// The metafile's object table: the objects its records create, by index, and the stock
// objects that indexes with the high bit set name.
class EmfObjects {
public:
    void create(const CreatedObject& created);
    void remove(quint32 index);
    // The object an index names; none for an empty slot or an unknown stock object.
    std::optional<EmfObject> find(quint32 index) const;

private:
    QHash<quint32, EmfObject> m_objects;
};

} // namespace report
