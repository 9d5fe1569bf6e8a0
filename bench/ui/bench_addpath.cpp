// Times the path rule on one folder of N workbook files (empty files named *.xls), from the
// folder path to the last ticked item in the main window's list.
//
// usage: bench_addpath [N ...]   (default: 2000 20000 200000)

#include "app/PrintSystem.h"
#include "app/SystemServices.h"
#include "ui/frmMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

namespace {

void makeFolder(const QString& folder, int count) {
    const QByteArray base = QFile::encodeName(folder);
    for (int i = 0; i < count; ++i) {
        const QByteArray name = base + "/book" + QByteArray::number(i) + ".xls";
        const int fd = ::open(name.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0)
            ::close(fd);
    }
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {2000, 20000, 200000};

    const char* noArguments[] = {"bench"};
    QTemporaryDir lockDir;
    SystemServices system(1, noArguments, lockDir.filePath(QStringLiteral("bench.lock")));
    PrintSystem printing;

    std::printf("%10s %6s %12s %14s\n", "files", "runs", "median s", "us per file");
    for (const int count : sizes) {
        QTemporaryDir folder;
        makeFolder(folder.path(), count);
        const int runs = count >= 100000 ? 3 : 7;
        std::vector<double> seconds;
        for (int run = 0; run < runs; ++run) {
            frmMain window(system.services(), printing.services(), std::make_shared<colFileName>());
            window.show();
            QCoreApplication::processEvents();
            QElapsedTimer timer;
            timer.start();
            window.AddPathToList(folder.path());
            QCoreApplication::processEvents(); // the list lays out and paints its new rows
            seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        }
        const double m = median(seconds);
        std::printf("%10d %6d %12.4f %14.2f\n", count, runs, m, m * 1e6 / count);
    }
    return 0;
}
