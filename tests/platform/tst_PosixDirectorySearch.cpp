#include "platform/FileName.h"
#include "platform/PlatformError.h"
#include "platform/PosixDirectorySearch.h"

#include "fakes/TempTree.h"

#include <QTest>

class tst_PosixDirectorySearch : public QObject {
    Q_OBJECT
private slots:
    void existenceTests() {
        TempTree tree;
        const QString file = tree.file("book.xls");
        const QString folder = tree.folder("folder");
        const QString hiddenFile = tree.file(".hidden.xls");
        const QString hiddenFolder = tree.folder(".hidden");
        const QString inHidden = tree.file(".hidden/inside.xls");
        QVERIFY(QFile::link(file, tree.path("link.xls")));
        QVERIFY(QFile::link(folder, tree.path("folderlink")));
        platform::PosixDirectorySearch search;

        QVERIFY(search.isOrdinaryFile(file));
        QVERIFY(search.isFileOrFolder(file));
        QVERIFY(!search.isOrdinaryFile(folder));
        QVERIFY(search.isFileOrFolder(folder));
        QVERIFY(search.isFileOrFolder(folder + u'/'));
        QVERIFY(!search.isOrdinaryFile(hiddenFile));
        QVERIFY(!search.isFileOrFolder(hiddenFile));
        QVERIFY(!search.isFileOrFolder(hiddenFolder));
        QVERIFY(search.isOrdinaryFile(inHidden));
        QVERIFY(search.isOrdinaryFile(tree.path("link.xls")));
        QVERIFY(search.isFileOrFolder(tree.path("folderlink")));
        QVERIFY(!search.isFileOrFolder(tree.path("missing.xls")));
        QVERIFY(!search.isFileOrFolder(QString()));
        QVERIFY(!search.isFileOrFolder(QStringLiteral(" ")));
        QVERIFY(!search.isOrdinaryFile(QStringLiteral("/dev/null")));
        QVERIFY(search.isFileOrFolder(QStringLiteral("/")));
    }

    // Names are taken literally: "*" and "?" in a path are not wildcards here.
    void pathsAreLiteral() {
        TempTree tree;
        tree.file("ab.xls");
        platform::PosixDirectorySearch search;
        QVERIFY(!search.isOrdinaryFile(tree.path("a?.xls")));
        QVERIFY(!search.isFileOrFolder(tree.path("*.xls")));
        const QString starName = tree.file("a*.xls");
        QVERIFY(search.isOrdinaryFile(starName));
    }

    // What the argument quoting leaves between two arguments names nothing, even where a folder
    // of that name exists.
    void blankPathsNameNothing() {
        TempTree tree;
        tree.folder(" ");
        tree.file("  ");
        const QString saved = QDir::currentPath();
        QVERIFY(QDir::setCurrent(tree.path()));
        platform::PosixDirectorySearch search;
        QVERIFY(!search.isFileOrFolder(QStringLiteral(" ")));
        QVERIFY(!search.isOrdinaryFile(QStringLiteral("  ")));
        QVERIFY(search.isFileOrFolder(QStringLiteral("./ ")));
        QDir::setCurrent(saved);
    }

    void namesThatAreNotUtf8() {
        TempTree tree;
        const QByteArray raw = tree.rawFile("caf\xe9.xls");
        platform::PosixDirectorySearch search;
        const QString decoded = platform::decodeFileName(raw);
        QVERIFY(search.isOrdinaryFile(decoded));

        const auto found = search.findFiles(tree.path() + QStringLiteral("/*.xls"));
        const QString name = found->next();
        QCOMPARE(platform::encodeFileName(tree.path() + u'/' + name), raw);
        QVERIFY(found->next().isEmpty());
    }

    void findFilesInAMissingFolderRaises() {
        platform::PosixDirectorySearch search;
        try {
            search.findFiles(QStringLiteral("/nonexistent-folder-of-tessaly/*.xls"));
            QFAIL("no error raised");
        } catch (const platform::PlatformError& error) {
            QCOMPARE(error.number(), platform::PlatformError::kPathNotFound);
        }
    }
};

QTEST_GUILESS_MAIN(tst_PosixDirectorySearch)
#include "tst_PosixDirectorySearch.moc"
