#include "BiffBuilder.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include <cstring>

namespace xlstest {

QByteArray u8(int value) {
    return QByteArray(1, static_cast<char>(value & 0xFF));
}

QByteArray u16(int value) {
    return u8(value) + u8(value >> 8);
}

QByteArray u32(quint32 value) {
    return u16(static_cast<int>(value & 0xFFFF)) + u16(static_cast<int>(value >> 16));
}

QByteArray f64(double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return u32(static_cast<quint32>(bits)) + u32(static_cast<quint32>(bits >> 32));
}

QByteArray unicodeString(const QString& text, int lengthBytes, bool wide) {
    QByteArray out =
        lengthBytes == 1 ? u8(static_cast<int>(text.size())) : u16(static_cast<int>(text.size()));
    out += u8(wide ? 1 : 0);
    for (const QChar c : text)
        out += wide ? u16(c.unicode()) : u8(c.unicode());
    return out;
}

QByteArray utf16(const QString& text) {
    QByteArray out;
    for (const QChar c : text)
        out += u16(c.unicode());
    return out;
}

QByteArray sstRecord(quint32 count, const QByteArray& strings) {
    return BiffBuilder::encoded(0x00FC, u32(count) + u32(count) + strings);
}

QByteArray labelSst(int row, int column, quint32 index) {
    return BiffBuilder::encoded(0x00FD, u16(row) + u16(column) + u16(15) + u32(index));
}

BiffBuilder::BiffBuilder(xls::BiffVersion version)
    : m_version(version) {}

BiffBuilder& BiffBuilder::record(quint16 code, const QByteArray& data) {
    m_stream += encoded(code, data);
    return *this;
}

BiffBuilder& BiffBuilder::bof(int type) {
    const int version = m_version == xls::BiffVersion::Biff8 ? 0x0600 : 0x0500;
    QByteArray data = u16(version) + u16(type) + u16(0x0DBB) + u16(0x07CC);
    if (m_version == xls::BiffVersion::Biff8)
        data += u32(0) + u32(6);
    return record(0x0809, data);
}

BiffBuilder& BiffBuilder::boundSheet(const QByteArray& encodedName, int visibility, int kind) {
    m_boundSheetAt.append(m_stream.size() + 4);
    return record(0x0085, u32(0) + u8(visibility) + u8(kind) + encodedName);
}

BiffBuilder& BiffBuilder::boundSheet(const QString& name, int visibility, int kind) {
    if (m_version == xls::BiffVersion::Biff8)
        return boundSheet(unicodeString(name, 1, true), visibility, kind);
    return boundSheet(u8(static_cast<int>(name.size())) + name.toLatin1(), visibility, kind);
}

BiffBuilder& BiffBuilder::sheetBof(int type) {
    m_sheetAt.append(m_stream.size());
    return bof(type);
}

QByteArray BiffBuilder::encoded(quint16 code, const QByteArray& data) {
    return u16(code) + u16(static_cast<int>(data.size())) + data;
}

QByteArray BiffBuilder::workbook(const QList<QByteArray>& globalRecords,
                                 const QList<QByteArray>& sheetRecords, xls::BiffVersion version) {
    BiffBuilder builder(version);
    builder.bof(0x0005);
    for (const QByteArray& r : globalRecords)
        builder.m_stream += r;
    builder.boundSheet(QStringLiteral("Sheet1")).eof().sheetBof();
    for (const QByteArray& r : sheetRecords)
        builder.m_stream += r;
    builder.eof();
    return builder.stream();
}

QByteArray BiffBuilder::stream() const {
    QByteArray out = m_stream;
    for (qsizetype i = 0; i < m_boundSheetAt.size() && i < m_sheetAt.size(); ++i)
        out.replace(m_boundSheetAt[i], 4, u32(static_cast<quint32>(m_sheetAt[i])));
    return out;
}

QByteArray oldBiffStream(quint16 bofCode, int type, const QList<QByteArray>& records) {
    const QByteArray bofData = bofCode == 0x0009 ? u16(2) + u16(type) : u16(0) + u16(type) + u16(0);
    QByteArray stream = BiffBuilder::encoded(bofCode, bofData);
    for (const QByteArray& r : records)
        stream += r;
    return stream + BiffBuilder::encoded(0x000A, {});
}

QByteArray borderedBiff4Sheet(int rows) {
    const auto record = BiffBuilder::encoded;
    const auto byteString = [](const QByteArray& text) {
        return u8(static_cast<int>(text.size())) + text;
    };
    QList<QByteArray> records{
        record(0x0042, u16(1252)),
        record(0x0014, byteString("&A")),
        record(0x0015, byteString("Page &P")),
        record(0x0231, u16(200) + u16(0) + u16(0x7FFF) + byteString("Arial")),
        record(0x041E, u16(0) + byteString("General")),
        // XF 0: the Normal style; XF 1: a cell with thin borders in the window text colour.
        record(0x0443, u8(0) + u8(0) + u16(0xFFF4) + u8(0) + u8(0) + u16(0xCE00) + u32(0)),
        record(0x0443, u8(0) + u8(0) + u16(0x0000) + u8(0) + u8(0) + u16(0xCE00) + u32(0xC1C1C1C1)),
        record(0x0200, u16(0) + u16(16384) + u16(0) + u16(256) + u16(0)),
        record(0x007D, u16(0) + u16(2) + u16(12 * 256) + u16(0) + u16(0) + u16(0)),
    };
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 3; ++column) {
            const QByteArray text =
                QStringLiteral("r%1c%2").arg(row + 1).arg(column + 1).toLatin1();
            records.append(record(0x0204, u16(row) + u16(column) + u16(1) +
                                              u16(static_cast<int>(text.size())) + text));
        }
    }
    return oldBiffStream(0x0409, 0x10, records);
}

QByteArray compoundFile(const QByteArray& stream, const char* name) {
    gsf_init();
    GsfOutput* memory = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(memory);
    GsfOutput* child = gsf_outfile_new_child(ole, name, FALSE);
    gsf_output_write(child, static_cast<size_t>(stream.size()),
                     reinterpret_cast<const guint8*>(stream.constData()));
    gsf_output_close(child);
    g_object_unref(child);
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    QByteArray bytes(
        reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory))),
        static_cast<qsizetype>(gsf_output_size(memory)));
    g_object_unref(memory);
    return bytes;
}

QString fixture(const QString& name) {
    return QStringLiteral(TESSALY_XLS_FIXTURES "/") + name;
}

} // namespace xlstest
