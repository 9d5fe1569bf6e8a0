#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace platform {

// Linux file names are bytes. Valid UTF-8 decodes as usual; every byte that is not part of a
// valid UTF-8 sequence becomes the lone surrogate U+DC00 + byte, which no valid UTF-8 name can
// produce, so encodeFileName gives back exactly the bytes that decodeFileName was given.
QString decodeFileName(const QByteArray& bytes);
QByteArray encodeFileName(const QString& name);

// The path of a file: URL on this machine (empty host or "localhost"), decoded as above;
// the empty text for any other URL.
QString localFilePath(const QUrl& url);

} // namespace platform
