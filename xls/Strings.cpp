#include "Strings.h"

namespace xls {

namespace {

constexpr quint8 kHighByte = 0x01;
constexpr quint8 kPhonetic = 0x04;
constexpr quint8 kRichText = 0x08;

// A BIFF8 string once its length is known: flags, the sizes of what follows the
// characters, the characters, then the formatting runs and phonetic text, skipped.
QString unicodeString(RecordReader& reader, qsizetype count) {
    const quint8 flags = reader.u8();
    const qsizetype runs = (flags & kRichText) != 0 ? reader.u16() : 0;
    const qsizetype phoneticSize = (flags & kPhonetic) != 0 ? reader.u32() : 0;
    QString text = reader.characters(count, (flags & kHighByte) != 0);
    reader.skip(runs * 4);
    reader.skip(phoneticSize);
    return text;
}

} // namespace

Strings::Strings(BiffVersion version, const ICodePages& codePages)
    : m_version(version)
    , m_codePages(codePages) {}

QString Strings::stringOfLength(RecordReader& reader, qsizetype count) const {
    if (m_version == BiffVersion::Biff8)
        return unicodeString(reader, count);
    return m_codePages.decode(m_codePage, reader.bytes(count));
}

QString Strings::shortString(RecordReader& reader) const {
    return stringOfLength(reader, reader.u8());
}

QString Strings::longString(RecordReader& reader) const {
    return stringOfLength(reader, reader.u16());
}

QList<QString> Strings::sharedStrings(RecordReader& reader) {
    reader.skip(4); // total references to the table
    const quint32 unique = reader.u32();
    QList<QString> strings;
    // Each string takes at least three bytes, so the data bounds the count it can hold.
    strings.reserve(std::min<qsizetype>(unique, reader.remaining() / 3));
    while (static_cast<quint32>(strings.size()) < unique && !reader.atEnd())
        strings.append(unicodeString(reader, reader.u16()));
    return strings;
}

} // namespace xls
