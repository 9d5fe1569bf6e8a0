#pragma once

#include "ReadError.h"
#include "RecordReader.h"
#include "SheetObject.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace xls::officeart {

// Record types of the drawing layer that the reader looks at.
constexpr quint16 kDggContainer = 0xF000;
constexpr quint16 kBStoreContainer = 0xF001;
constexpr quint16 kDgContainer = 0xF002;
constexpr quint16 kSpgrContainer = 0xF003;
constexpr quint16 kSpContainer = 0xF004;
constexpr quint16 kFbse = 0xF007;
constexpr quint16 kFspgr = 0xF009;
constexpr quint16 kFsp = 0xF00A;
constexpr quint16 kFopt = 0xF00B;
constexpr quint16 kClientTextbox = 0xF00D;
constexpr quint16 kChildAnchor = 0xF00F;
constexpr quint16 kClientAnchor = 0xF010;
constexpr quint16 kClientData = 0xF011;
constexpr quint16 kTertiaryFopt = 0xF122;

// An error about damaged drawing data.
ReadError damaged(const QString& what);
// A reader over the data of one record of the drawing layer, with the record reader's bounds
// checks.
RecordReader fieldsOf(QByteArrayView data);

// One record of the drawing layer: an 8-byte header (version and instance, type, length)
// and its data. Containers (version 0xF) hold further records.
struct ArtRecord {
    quint16 version = 0;
    quint16 instance = 0;
    quint16 type = 0;
    QByteArrayView data;
};

// The records of a span of drawing data, one after the other. An atom whose length runs past
// the span is an error (ReadError, Corrupt); a container's is cut to the span, so that what
// lies within it can still be read.
class ArtRecords {
public:
    explicit ArtRecords(QByteArrayView data)
        : m_data(data) {}
    bool next(ArtRecord& record);

private:
    QByteArrayView m_data;
    qsizetype m_position = 0;
};

// The simple values of a shape's property tables, by property number.
class ShapeProperties {
public:
    // Adds the properties of an OfficeArtFOPT or tertiary FOPT record.
    void read(const ArtRecord& record);
    std::optional<quint32> value(int property) const;
    // A Boolean of a property set: bit is used when its "use" bit (16 places higher) is set.
    std::optional<bool> flag(int property, quint32 bit) const;
    // The text of a complex property (a shape's name), empty when the table has none.
    QString text(int property) const;

private:
    QHash<int, quint32> m_values;
    QHash<int, QByteArray> m_complex;
};

// The colour of a colour property's value.
ObjectColor colorOf(quint32 value);

// The pictures of the workbook's picture store, from its drawing group data (the
// MSODRAWINGGROUP records joined), in the order shapes number them from 1. An entry that
// cannot be read is kept as a Picture of format Unknown, so that the numbering holds; a
// damaged store keeps the pictures read before the damage.
QList<Picture> readPictureStore(QByteArrayView drawingGroup);

} // namespace xls::officeart
