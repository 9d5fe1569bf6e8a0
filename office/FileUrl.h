#pragma once

#include <QString>

namespace office {

// The file: URL of an absolute path. The path's bytes (platform::encodeFileName) are
// percent-encoded one by one, so names that are not valid UTF-8 keep their exact bytes.
QString fileUrl(const QString& absolutePath);

} // namespace office
