#pragma once

#include <QString>

namespace platform {

// Whether name matches a file-name wildcard: "*" stands for any run of characters, "?" for
// exactly one, and every other character matches itself without regard to letter case.
bool wildcardMatch(const QString& name, const QString& pattern);

} // namespace platform
