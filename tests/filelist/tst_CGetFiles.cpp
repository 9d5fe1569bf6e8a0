#include "filelist/CGetFiles.h"
#include "platform/PlatformError.h"
#include "platform/PosixDirectorySearch.h"

#include "fakes/TempTree.h"

#include <QProcess>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList filesOf(const CGetFiles& scan) {
    QStringList files;
    for (const auto& entry : *scan.Files())
        files.append(entry->FileName());
    return files;
}

// A search whose folder yields a few names and then fails, as a folder can while it is read.
class FailingSearch : public platform::IDirectorySearch {
public:
    bool isOrdinaryFile(const QString&) override { return false; }
    bool isFileOrFolder(const QString&) override { return true; }
    std::unique_ptr<platform::IDirectoryEnumeration> findFiles(const QString& pattern) override {
        patterns.append(pattern);
        struct Failing : platform::IDirectoryEnumeration {
            int served = 0;
            QString next() override {
                if (served == 2)
                    throw platform::PlatformError(platform::PlatformError::kPermissionDenied,
                                                  QStringLiteral("denied"));
                return QStringLiteral("f%1.xls").arg(++served);
            }
        };
        return std::make_unique<Failing>();
    }
    QStringList patterns;
};

} // namespace

class tst_CGetFiles : public QObject {
    Q_OBJECT
private slots:
    void listsMatchingPlainFilesOnly() {
        TempTree tree;
        tree.file("a.xls");
        tree.file("B.XLS");
        tree.file("c.Xls");
        tree.file("d.xlsx");
        tree.file("notes.txt");
        tree.folder("e.xls");
        tree.file(".f.xls");
        tree.file("sub/g.xls");
        QVERIFY(QFile::link(tree.path("a.xls"), tree.path("link.xls")));
        QVERIFY(QFile::link(tree.path("missing"), tree.path("dangling.xls")));

        platform::PosixDirectorySearch search;
        CGetFiles scan(search);
        scan.setFolder(tree.path());
        QCOMPARE(scan.Error(), 0);
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        QCOMPARE(scan.Error(), 0);

        QStringList found = filesOf(scan);
        found.sort();
        const QString p = tree.path() + u'/';
        QCOMPARE(found, (QStringList{p + "B.XLS", p + "a.xls", p + "c.Xls", p + "link.xls"}));
    }

    void keepsTheDirectoryOrder() {
        TempTree tree;
        for (int i = 0; i < 40; ++i)
            tree.file(QStringLiteral("w%1.xls").arg(i));
        QDir dir(tree.path());
        QStringList expected;
        // readdir's order, which QDir::Unsorted reproduces.
        for (const QString& name : dir.entryList(QDir::Files, QDir::Unsorted))
            expected.append(tree.path() + u'/' + name);

        platform::PosixDirectorySearch search;
        CGetFiles scan(search);
        scan.setFolder(tree.path());
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        QCOMPARE(filesOf(scan), expected);
    }

    void separatorIsAlwaysInserted() {
        TempTree tree;
        tree.file("a.xls");
        platform::PosixDirectorySearch search;
        CGetFiles scan(search);
        scan.setFolder(tree.path() + u'/');
        QCOMPARE(scan.Folder(), tree.path() + u'/');
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        QCOMPARE(filesOf(scan), QStringList{tree.path() + QStringLiteral("//a.xls")});
    }

    void secondScanAppends() {
        TempTree tree;
        tree.file("a.xls");
        platform::PosixDirectorySearch search;
        CGetFiles scan(search);
        scan.setFolder(tree.path());
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        scan.GetFiles();
        QCOMPARE(filesOf(scan), (QStringList{tree.path("a.xls"), tree.path("a.xls")}));
    }

    void missingFolderKeepsThePreviousOne() {
        TempTree tree;
        tree.file("a.xls");
        platform::PosixDirectorySearch search;
        CGetFiles scan(search);
        scan.setFolder(tree.path());
        scan.setFolder(tree.path("nowhere"));
        QCOMPARE(scan.Error(), 76);
        QCOMPARE(scan.Folder(), tree.path());
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        QCOMPARE(scan.Error(), 0);
        QCOMPARE(filesOf(scan), QStringList{tree.path("a.xls")});
    }

    void scanWithoutFolderSearchesTheRoot() {
        FailingSearch search;
        CGetFiles scan(search);
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        QCOMPARE(search.patterns, QStringList{QStringLiteral("/*.xls")});
    }

    void failureStopsTheScanAndKeepsWhatWasFound() {
        FailingSearch search;
        CGetFiles scan(search);
        scan.setFolder(QStringLiteral("/data"));
        scan.setExtName(QStringLiteral("*.xls"));
        scan.GetFiles();
        QCOMPARE(scan.Error(), platform::PlatformError::kPermissionDenied);
        QCOMPARE(filesOf(scan), (QStringList{"/data/f1.xls", "/data/f2.xls"}));
    }

    void filesListOutlivesTheScan() {
        TempTree tree;
        tree.file("a.xls");
        platform::PosixDirectorySearch search;
        std::shared_ptr<colFileName> files;
        {
            CGetFiles scan(search);
            scan.setFolder(tree.path());
            scan.setExtName(QStringLiteral("*.xls"));
            scan.GetFiles();
            files = scan.Files();
        }
        QCOMPARE(files->Count(), 1);
    }

    // A folder the user may enter but not read: the scan ends quietly with error 70.
    void unreadableFolderStopsQuietly() {
        TempTree tree;
        tree.file("locked/a.xls");
        QVERIFY(::chmod(QFile::encodeName(tree.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(tree.path("locked")).constData(), 0711) == 0);

        QProcess probe;
        const QString probePath = QCoreApplication::applicationDirPath() + "/scan_probe";
        if (::getuid() == 0) {
            // Root reads every folder; the probe runs as an ordinary user instead.
            probe.start(QStringLiteral("setpriv"),
                        {"--reuid=65534", "--regid=65534", "--clear-groups", probePath,
                         tree.path("locked")});
        } else {
            probe.start(probePath, {tree.path("locked")});
        }
        QVERIFY(probe.waitForFinished(10000));
        QCOMPARE(probe.exitCode(), 0);
        const QStringList lines =
            QString::fromLocal8Bit(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines, QStringList{QStringLiteral("70")});
        ::chmod(QFile::encodeName(tree.path("locked")).constData(), 0755);
    }
};

QTEST_GUILESS_MAIN(tst_CGetFiles)
#include "tst_CGetFiles.moc"
