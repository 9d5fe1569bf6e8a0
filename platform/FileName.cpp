#include "FileName.h"

namespace platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// Length of the valid UTF-8 sequence that starts at bytes[i], or 0 when there is none.
int validSequenceLength(const QByteArray& bytes, qsizetype i) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = at(i);
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t min = 0;
    char32_t code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char next = at(i + k);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (code < min || code > 0x10FFFF || surrogate)
        return 0;
    return length;
}

} // namespace

QString decodeFileName(const QByteArray& bytes) {
    QString result;
    qsizetype runStart = 0;
    qsizetype i = 0;
    while (i < bytes.size()) {
        const int length = validSequenceLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        result.append(QString::fromUtf8(bytes.constData() + runStart, i - runStart));
        result.append(
            QChar(static_cast<char16_t>(kEscapeBase + static_cast<unsigned char>(bytes[i]))));
        runStart = ++i;
    }
    if (runStart == 0)
        return QString::fromUtf8(bytes);
    result.append(QString::fromUtf8(bytes.constData() + runStart, bytes.size() - runStart));
    return result;
}

QByteArray encodeFileName(const QString& name) {
    QByteArray result;
    result.reserve(name.size());
    qsizetype runStart = 0;
    const auto flushRun = [&](qsizetype end) {
        if (end > runStart)
            result.append(QStringView(name).mid(runStart, end - runStart).toUtf8());
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        const bool escape = unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF;
        // A low surrogate right after a high one is half of a real character, not an escape.
        if (escape && !(i > 0 && name[i - 1].isHighSurrogate())) {
            flushRun(i);
            result.append(static_cast<char>(unit - kEscapeBase));
            runStart = i + 1;
        }
    }
    flushRun(name.size());
    return result;
}

QString localFilePath(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return {};
    return decodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

} // namespace platform
