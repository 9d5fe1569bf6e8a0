// Reading time and memory of the workbook reader.
//
// usage: bench_xls_read REPEATS FILE...
//
// Reads every FILE once per repeat and prints the median and fastest time of one pass over
// all of them, the heap that the models of the last pass hold (next to the files' size), and
// the process's peak resident memory.

#include "xls/IconvCodePages.h"
#include "xls/ReadError.h"
#include "xls/WorkbookReader.h"

#include <QFileInfo>
#include <QStringList>

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_xls_read REPEATS FILE...\n");
        return 1;
    }
    const int repeats = std::max(1, std::atoi(argv[1]));
    QStringList files;
    qint64 fileBytes = 0;
    for (int i = 2; i < argc; ++i) {
        files << QString::fromLocal8Bit(argv[i]);
        fileBytes += QFileInfo(files.back()).size();
    }

    const xls::IconvCodePages codePages;
    const xls::WorkbookReader reader(codePages);
    std::vector<double> seconds;
    size_t modelBytes = 0;
    size_t cells = 0;
    try {
        for (int r = 0; r < repeats; ++r) {
            std::vector<xls::Workbook> workbooks;
            workbooks.reserve(static_cast<size_t>(files.size()));
            const size_t before = heapInUse();
            const auto start = std::chrono::steady_clock::now();
            for (const QString& file : files)
                workbooks.push_back(reader.readFile(file));
            const auto end = std::chrono::steady_clock::now();
            seconds.push_back(std::chrono::duration<double>(end - start).count());
            modelBytes = heapInUse() - before;
            cells = 0;
            for (const xls::Workbook& workbook : workbooks) {
                for (const xls::Sheet& sheet : workbook.sheets())
                    cells += sheet.cells().size();
            }
        }
    } catch (const xls::ReadError& error) {
        std::fprintf(stderr, "bench_xls_read: %s\n", error.what());
        return 1;
    }
    std::sort(seconds.begin(), seconds.end());
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("files %lld  bytes %lld  cells %zu\n", static_cast<long long>(files.size()),
                static_cast<long long>(fileBytes), cells);
    std::printf("median %.4f s  fastest %.4f s  (%d passes)\n", seconds[seconds.size() / 2],
                seconds.front(), repeats);
    std::printf("model heap %zu bytes = %.2f x the files  peak RSS %ld KiB\n", modelBytes,
                static_cast<double>(modelBytes) / static_cast<double>(fileBytes), usage.ru_maxrss);
    return 0;
}
