#pragma once

#include "IDirectorySearch.h"

namespace platform {

// The directory search over stat(2) and readdir(3). Paths are taken literally (Linux names may
// hold "*" and "?"); links are followed; a name beginning with "." is hidden.
class PosixDirectorySearch : public IDirectorySearch {
public:
    bool isOrdinaryFile(const QString& path) override;
    bool isFileOrFolder(const QString& path) override;
    std::unique_ptr<IDirectoryEnumeration> findFiles(const QString& pattern) override;
};

} // namespace platform
