#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

#include <zlib.h>

#include <vector>

namespace report {

// A PDF file written object by object: each object goes to the file as soon as it is complete
// and only its offset is kept, so memory stays bounded however many pages there are. Streams are
// deflated at zlib's fastest level. The page tree, the document information, the catalog and
// the cross-reference table are written when the document finishes. The file replaces the one
// at the path only when it is finished whole.
class PdfDocument {
public:
    explicit PdfDocument(const QString& path);
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    // Opens the file and writes the header; false when it cannot be written.
    bool open();
    // A number for an object written later.
    int reserve();
    // Writes a reserved object: its body is the bytes between "obj" and "endobj".
    void writeObject(int number, const QByteArray& body);
    int addObject(const QByteArray& body);
    // Writes a stream object: dictionary holds the dictionary's entries but for its length
    // and filter, which are added.
    void writeStream(int number, const QByteArray& dictionary, const QByteArray& data);
    int addStream(const QByteArray& dictionary, const QByteArray& data);
    // The page tree's number, for each page's Parent.
    int pageTree() const { return m_pageTree; }
    void addPage(int page) { m_pages.push_back(page); }
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    // Writes the page tree, the document information, the catalog and the cross-reference
    // table, and puts the file in place; false when something could not be written.
    bool finish(const QString& title);

    bool failed() const { return !m_error.isEmpty(); }
    QString errorString() const { return m_error; }

    // A text string as PDF writes any Unicode text: UTF-16BE with a byte order mark, in hex.
    static QByteArray textString(const QString& text);

private:
    void write(const QByteArray& bytes);
    void beginObject(int number);
    // Deflates into a buffer kept for the next stream, with a compressor kept likewise: a page's
    // stream then costs no allocation of its own.
    const QByteArray& deflate(const QByteArray& data);

    QSaveFile m_file;
    z_stream m_zlib{};
    bool m_zlibReady = false;
    QByteArray m_deflated;
    QString m_error;
    qint64 m_offset = 0;
    std::vector<qint64> m_offsets; // by object number - 1; -1 until written
    std::vector<int> m_pages;
    int m_pageTree = 0;
};

} // namespace report
