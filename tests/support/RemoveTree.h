#pragma once

#include <QString>

namespace testsupport {

// Removes a folder and everything in it, names handled as bytes, so that files whose names are
// not UTF-8 (which QDir cannot name) go too. Symbolic links are removed, never followed.
bool removeTree(const QString& folder);

} // namespace testsupport
