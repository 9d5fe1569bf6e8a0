#include "RemoveTree.h"

#include "platform/FileName.h"

#include <cstdio>
#include <ftw.h>
#include <sys/stat.h>

namespace testsupport {

namespace {

int removeEntry(const char* path, const struct stat* /*status*/, int /*type*/, FTW* /*walk*/) {
    return ::remove(path);
}

} // namespace

bool removeTree(const QString& folder) {
    constexpr int kOpenFolders = 16;
    return ::nftw(platform::encodeFileName(folder).constData(), removeEntry, kOpenFolders,
                  FTW_DEPTH | FTW_PHYS) == 0;
}

} // namespace testsupport
