// Scans one folder for "*.xls" the way the path rule does and prints what it found: the error
// number on the first line, then one path a line. Lets a test run a scan as another user.

#include "filelist/CGetFiles.h"
#include "platform/PosixDirectorySearch.h"

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 2)
        return 2;
    platform::PosixDirectorySearch search;
    CGetFiles scan(search);
    scan.setFolder(QString::fromLocal8Bit(argv[1]));
    if (scan.Error() != 0) {
        std::printf("%d\n", scan.Error());
        return 0;
    }
    scan.setExtName(QStringLiteral("*.xls"));
    scan.GetFiles();
    std::printf("%d\n", scan.Error());
    for (const auto& entry : *scan.Files())
        std::printf("%s\n", entry->FileName().toLocal8Bit().constData());
    return 0;
}
