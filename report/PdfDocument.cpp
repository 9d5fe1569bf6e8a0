#include "PdfDocument.h"

#include "PdfBuffer.h"

#include <QDateTime>

namespace report {

PdfDocument::PdfDocument(const QString& path)
    : m_file(path) {}

PdfDocument::~PdfDocument() {
    if (m_zlibReady)
        deflateEnd(&m_zlib);
}

bool PdfDocument::open() {
    if (!m_file.open(QIODevice::WriteOnly)) {
        m_error = m_file.errorString();
        return false;
    }
    // The comment of bytes above 127 tells file transfers that the file is binary.
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    m_pageTree = reserve();
    return !failed();
}

int PdfDocument::reserve() {
    m_offsets.push_back(-1);
    return static_cast<int>(m_offsets.size());
}

void PdfDocument::write(const QByteArray& bytes) {
    if (failed())
        return;
    if (m_file.write(bytes) != bytes.size()) {
        m_error = m_file.errorString();
        return;
    }
    m_offset += bytes.size();
}

void PdfDocument::beginObject(int number) {
    m_offsets[number - 1] = m_offset;
    PdfBuffer head;
    head << number << " 0 obj\n";
    write(head.bytes());
}

void PdfDocument::writeObject(int number, const QByteArray& body) {
    beginObject(number);
    write(body);
    write("\nendobj\n");
}

int PdfDocument::addObject(const QByteArray& body) {
    const int number = reserve();
    writeObject(number, body);
    return number;
}

void PdfDocument::writeStream(int number, const QByteArray& dictionary, const QByteArray& data) {
    const QByteArray& deflated = deflate(data);
    PdfBuffer head;
    head << "<<" << dictionary << " /Filter /FlateDecode /Length "
         << static_cast<qint64>(deflated.size()) << " >>\nstream\n";
    beginObject(number);
    write(head.bytes());
    write(deflated);
    write("\nendstream\nendobj\n");
}

int PdfDocument::addStream(const QByteArray& dictionary, const QByteArray& data) {
    const int number = reserve();
    writeStream(number, dictionary, data);
    return number;
}

bool PdfDocument::finish(const QString& title) {
    PdfBuffer tree;
    tree << "<< /Type /Pages /Count " << pageCount() << " /Kids [";
    for (const int page : m_pages)
        tree << page << " 0 R ";
    tree << "] >>";
    writeObject(m_pageTree, tree.bytes());

    PdfBuffer info;
    info << "<< /Title " << textString(title) << " /Creator (Tessaly) /Producer (Tessaly)"
         << " /CreationDate (D:"
         << QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1()
         << "Z) >>";
    const int infoNumber = addObject(info.bytes());
    PdfBuffer catalog;
    catalog << "<< /Type /Catalog /Pages " << m_pageTree << " 0 R >>";
    const int catalogNumber = addObject(catalog.bytes());

    const qint64 xref = m_offset;
    const qint64 size = static_cast<qint64>(m_offsets.size()) + 1;
    PdfBuffer table;
    table << "xref\n0 " << size << "\n0000000000 65535 f \n";
    for (const qint64 offset : m_offsets) {
        if (offset < 0) {
            m_error = QStringLiteral("An object of the document was never written.");
            return false;
        }
        table << QByteArray::number(offset).rightJustified(10, '0') << " 00000 n \n";
    }
    table << "trailer\n<< /Size " << size << " /Root " << catalogNumber << " 0 R /Info "
          << infoNumber << " 0 R >>\nstartxref\n"
          << xref << "\n%%EOF\n";
    write(table.bytes());
    if (!failed() && !m_file.commit())
        m_error = m_file.errorString();
    return !failed();
}

const QByteArray& PdfDocument::deflate(const QByteArray& data) {
    if (!m_zlibReady) {
        m_zlibReady = deflateInit(&m_zlib, Z_BEST_SPEED) == Z_OK;
    } else {
        deflateReset(&m_zlib);
    }
    const auto bound =
        static_cast<qsizetype>(deflateBound(&m_zlib, static_cast<uLong>(data.size())));
    if (m_deflated.size() < bound)
        m_deflated.resize(bound);
    m_zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    m_zlib.avail_in = static_cast<uInt>(data.size());
    m_zlib.next_out = reinterpret_cast<Bytef*>(m_deflated.data());
    m_zlib.avail_out = static_cast<uInt>(m_deflated.size());
    if (!m_zlibReady || ::deflate(&m_zlib, Z_FINISH) != Z_STREAM_END)
        m_error = QStringLiteral("A stream of the document could not be compressed.");
    m_deflated.truncate(static_cast<qsizetype>(m_zlib.total_out));
    return m_deflated;
}

QByteArray PdfDocument::textString(const QString& text) {
    PdfBuffer hex;
    hex << "<FEFF";
    for (const QChar unit : text)
        hex.appendHex(unit.unicode());
    hex << '>';
    return hex.bytes();
}

} // namespace report
