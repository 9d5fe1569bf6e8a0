#include "Strings.h"

#include "ReadError.h"

namespace xls {

namespace {

constexpr quint8 kHighByte = 0x01;
constexpr quint8 kPhonetic = 0x04;
constexpr quint8 kRichText = 0x08;

// The runs that start inside a text of length characters, each after the one before; the
// others format nothing and are dropped.
QList<TextRun> validRuns(const QList<TextRun>& runs, qsizetype length) {
    QList<TextRun> valid;
    for (const TextRun& run : runs) {
        if (run.position < length && (valid.isEmpty() || run.position > valid.back().position))
            valid.append(run);
    }
    return valid;
}

// count font runs of a BIFF8 string: a 16-bit position and a 16-bit font index each.
QList<TextRun> wideRuns(RecordReader& reader, qsizetype count) {
    QList<TextRun> runs;
    runs.reserve(std::min(count, reader.remaining() / 4));
    for (qsizetype i = 0; i < count; ++i) {
        const int position = reader.u16();
        runs.append({position, reader.u16()});
    }
    return runs;
}

// The pieces of a phonetic guide, kept where they lie inside both texts and in order.
QList<PhoneticRun> validPhoneticRuns(const QList<PhoneticRun>& runs, qsizetype guideLength,
                                     qsizetype baseLength) {
    QList<PhoneticRun> valid;
    int baseEnd = 0;
    for (const PhoneticRun& run : runs) {
        const bool inside = run.phoneticStart <= guideLength && run.baseStart >= baseEnd &&
                            run.baseStart + run.baseLength <= baseLength;
        if (inside && (valid.isEmpty() || run.phoneticStart >= valid.back().phoneticStart)) {
            valid.append(run);
            baseEnd = run.baseStart + run.baseLength;
        }
    }
    return valid;
}

// The phonetic block of a BIFF8 string (its size given before the characters): a reserved
// word, the block's size, the guide's font and settings, the guide's run count and length,
// the guide as a 16-bit string and its runs over the base text. A damaged block is dropped,
// the string kept.
std::optional<PhoneticText> phoneticText(const RecordReader& owner, const QByteArray& block,
                                         qsizetype baseLength) {
    RecordReader reader(Record{owner.code(), owner.offset(), block});
    try {
        reader.skip(4); // reserved word, size of the rest
        PhoneticText guide;
        guide.fontIndex = reader.u16();
        const quint16 settings = reader.u16();
        guide.type = static_cast<PhoneticType>(settings & 0x03);
        guide.alignment = static_cast<PhoneticAlignment>((settings >> 2) & 0x03);
        const int runCount = reader.u16();
        reader.skip(2); // the guide's length, given again with its characters
        guide.text = reader.characters(reader.u16(), true);
        QList<PhoneticRun> runs;
        for (int i = 0; i < runCount; ++i) {
            PhoneticRun run;
            run.phoneticStart = reader.u16();
            run.baseStart = reader.u16();
            run.baseLength = reader.u16();
            runs.append(run);
        }
        guide.runs = validPhoneticRuns(runs, guide.text.size(), baseLength);
        if (guide.text.isEmpty())
            return std::nullopt;
        return guide;
    } catch (const ReadError&) {
        return std::nullopt;
    }
}

// A BIFF8 string once its length is known: flags, the sizes of what follows the characters,
// the characters, then the formatting runs and the phonetic block. These last two are read
// into rich when it is given, else skipped.
QString unicodeString(RecordReader& reader, qsizetype count, RichText* rich) {
    const quint8 flags = reader.u8();
    const qsizetype runCount = (flags & kRichText) != 0 ? reader.u16() : 0;
    const qsizetype phoneticSize = (flags & kPhonetic) != 0 ? reader.u32() : 0;
    QString text = reader.characters(count, (flags & kHighByte) != 0);
    if (rich == nullptr) {
        reader.skip(runCount * 4);
        reader.skip(phoneticSize);
        return text;
    }
    rich->runs = validRuns(wideRuns(reader, runCount), text.size());
    if (phoneticSize > 0)
        rich->phonetic = phoneticText(reader, reader.bytes(phoneticSize), text.size());
    return text;
}

} // namespace

Strings::Strings(BiffVersion version, const ICodePages& codePages)
    : m_version(version)
    , m_codePages(codePages) {}

QString Strings::stringOfLength(RecordReader& reader, qsizetype count) const {
    if (m_version == BiffVersion::Biff8)
        return unicodeString(reader, count, nullptr);
    return m_codePages.decode(m_codePage, reader.bytes(count));
}

QString Strings::shortString(RecordReader& reader) const {
    return stringOfLength(reader, reader.u8());
}

QString Strings::longString(RecordReader& reader) const {
    return stringOfLength(reader, reader.u16());
}

FormattedString Strings::formattedString(RecordReader& reader) const {
    FormattedString out;
    if (m_version == BiffVersion::Biff8) {
        out.text = longString(reader);
        const qsizetype count = reader.remaining() >= 2 ? reader.u16() : 0;
        if (reader.remaining() >= count * 4)
            out.rich.runs = validRuns(wideRuns(reader, count), out.text.size());
        return out;
    }
    // Excel 5.0/95: byte positions into the code-page text, a byte each for position and font.
    const QByteArray bytes = reader.bytes(reader.u16());
    out.text = m_codePages.decode(m_codePage, bytes);
    const qsizetype count = reader.remaining() >= 1 ? reader.u8() : 0;
    if (reader.remaining() < count * 2)
        return out;
    QList<TextRun> runs;
    for (qsizetype i = 0; i < count; ++i) {
        const int byte = reader.u8();
        const int font = reader.u8();
        const qsizetype position =
            byte < bytes.size() ? m_codePages.decode(m_codePage, bytes.left(byte)).size() : byte;
        runs.append({static_cast<int>(position), font});
    }
    out.rich.runs = validRuns(runs, out.text.size());
    return out;
}

SharedStrings Strings::sharedStrings(RecordReader& reader, std::vector<RichText>& richTexts) {
    reader.skip(4); // total references to the table
    const quint32 unique = reader.u32();
    SharedStrings table;
    // Each string takes at least three bytes, so the data bounds the count it can hold.
    table.texts.reserve(std::min<qsizetype>(unique, reader.remaining() / 3));
    RichText rich;
    while (static_cast<quint32>(table.texts.size()) < unique && !reader.atEnd()) {
        table.texts.append(unicodeString(reader, reader.u16(), &rich));
        if (!rich.isEmpty()) {
            table.richTextOf.insert(static_cast<quint32>(table.texts.size() - 1),
                                    static_cast<int>(richTexts.size()));
            richTexts.push_back(std::move(rich));
            rich = RichText();
        }
    }
    return table;
}

} // namespace xls
