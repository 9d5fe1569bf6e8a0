#include "platform/IniProfileFile.h"

#include "fakes/TempTree.h"

#include <QTest>

#include <sys/stat.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(data);
}

struct Reader {
    platform::IniProfileFile ini;
    QByteArray file;
    QByteArray text(const QByteArray& section, const QByteArray& key, quint32 size = 128,
                    const QByteArray& fallback = "<default>") {
        QByteArray buffer(static_cast<qsizetype>(size), 'x');
        const quint32 count =
            ini.GetPrivateProfileString(section, key, fallback, buffer.data(), size, file);
        const QByteArray value(buffer.constData());
        if (count != static_cast<quint32>(value.size()))
            qWarning("count %u does not match the text copied", count);
        return value;
    }
    qint32 number(const QByteArray& section, const QByteArray& key, qint32 fallback = -99) {
        return ini.GetPrivateProfileInt(section, key, fallback, file);
    }
};

const QByteArray kSample = "; settings\n"
                           "[Registry]\n"
                           "COMPANY = Example Co. \n"
                           "name=\"  quoted  \"\n"
                           "single='x'\n"
                           "mixed=\"x'\n"
                           "empty=\n"
                           "# comment=not a key\n"
                           "company=second\n"
                           "line without equals\n"
                           "\n"
                           "[ registry ]\n"
                           "company=other section\n"
                           "[Numbers]\n"
                           "plain=42\n"
                           "negative=-17\n"
                           "plus=+8\n"
                           "trailing=12abc\n"
                           "word=abc\n"
                           "huge=99999999999\n"
                           "[日本語]\n"
                           "会社=有限会社Halvorn\n";

} // namespace

class tst_IniProfileFile : public QObject {
    Q_OBJECT
private slots:
    void readsTexts() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        writeAll(path, kSample);
        Reader r{{}, QFile::encodeName(path)};
        QCOMPARE(r.text("Registry", "COMPANY"), QByteArray("Example Co."));
        QCOMPARE(r.text("registry", "company"), QByteArray("Example Co."));
        QCOMPARE(r.text("Registry", "NAME"), QByteArray("  quoted  "));
        QCOMPARE(r.text("Registry", "single"), QByteArray("x"));
        QCOMPARE(r.text("Registry", "mixed"), QByteArray("\"x'"));
        QCOMPARE(r.text("Registry", "empty"), QByteArray());
        QCOMPARE(r.text("Registry", "# comment"), QByteArray("<default>"));
        QCOMPARE(r.text("Registry", "line without equals"), QByteArray("<default>"));
        QCOMPARE(r.text("日本語", "会社"), QByteArray("有限会社Halvorn"));
    }

    void missingFileSectionOrKeyGiveTheDefault() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        writeAll(path, kSample);
        Reader present{{}, QFile::encodeName(path)};
        QCOMPARE(present.text("Nothing", "COMPANY"), QByteArray("<default>"));
        QCOMPARE(present.text("Registry", "MISSING"), QByteArray("<default>"));
        QCOMPARE(present.text("Numbers", "COMPANY"), QByteArray("<default>"));
        QCOMPARE(present.number("Registry", "MISSING"), -99);
        Reader absent{{}, QFile::encodeName(tree.path("none.INI"))};
        QCOMPARE(absent.text("Registry", "COMPANY"), QByteArray("<default>"));
        QCOMPARE(absent.number("Registry", "COMPANY"), -99);
    }

    void readsNumbers() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        writeAll(path, kSample);
        Reader r{{}, QFile::encodeName(path)};
        QCOMPARE(r.number("Numbers", "plain"), 42);
        QCOMPARE(r.number("Numbers", "negative"), -17);
        QCOMPARE(r.number("Numbers", "plus"), 8);
        QCOMPARE(r.number("Numbers", "trailing"), 12);
        QCOMPARE(r.number("Numbers", "word"), 0);
        QCOMPARE(r.number("Registry", "empty"), 0);
        QCOMPARE(r.number("Numbers", "huge"), std::numeric_limits<qint32>::max());
    }

    void crLfFilesReadAsLfFiles() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        QByteArray crlf = kSample;
        crlf.replace("\n", "\r\n");
        writeAll(path, crlf);
        Reader r{{}, QFile::encodeName(path)};
        QCOMPARE(r.text("Registry", "COMPANY"), QByteArray("Example Co."));
        QCOMPARE(r.text("Registry", "empty"), QByteArray());
        QCOMPARE(r.number("Numbers", "plain"), 42);
    }

    // Too long for the buffer: cut to fit, but never inside a character.
    void longValuesAreCutBetweenCharacters() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        const QByteArray ascii(200, 'a');
        const QByteArray japanese = QString(50, QChar(0x6F22)).toUtf8(); // 150 bytes
        const QByteArray shifted = "a" + japanese;                       // a character at 126
        writeAll(path, "[S]\nascii=" + ascii + "\njapanese=" + japanese + "\nshifted=" +
                           shifted + "\nexact=" + QByteArray(127, 'b') + "\n");
        Reader r{{}, QFile::encodeName(path)};
        QCOMPARE(r.text("S", "ascii"), QByteArray(127, 'a'));
        QCOMPARE(r.text("S", "japanese"), japanese.left(126));
        QCOMPARE(r.text("S", "shifted"), shifted.left(127));
        QCOMPARE(r.text("S", "exact"), QByteArray(127, 'b'));
        QCOMPARE(r.text("S", "japanese", 4), japanese.left(3));
        QCOMPARE(r.text("S", "japanese", 3), QByteArray());
    }

    void writeCreatesTheFile() {
        TempTree tree;
        const QString path = tree.path("new.INI");
        platform::IniProfileFile ini;
        QVERIFY(ini.WritePrivateProfileString("Registry", "COMPANY", "有限会社", QFile::encodeName(path)) != 0);
        QCOMPARE(readAll(path), QByteArray("[Registry]\nCOMPANY=有限会社\n"));
        QVERIFY(ini.WritePrivateProfileString("Registry", "NAME", "Taro", QFile::encodeName(path)) != 0);
        QVERIFY(ini.WritePrivateProfileString("Other", "key", "v", QFile::encodeName(path)) != 0);
        QCOMPARE(readAll(path),
                 QByteArray("[Registry]\nCOMPANY=有限会社\nNAME=Taro\n[Other]\nkey=v\n"));
    }

    void writeReplacesAndKeepsEverythingElse() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        writeAll(path, "; top comment\n[A]\nkey = old\nother=1\n\n[B]\nkey=b\n; end\n");
        platform::IniProfileFile ini;
        const QByteArray file = QFile::encodeName(path);
        QVERIFY(ini.WritePrivateProfileString("a", "KEY", "new", file) != 0);
        QVERIFY(ini.WritePrivateProfileString("A", "added", "2", file) != 0);
        QVERIFY(ini.WritePrivateProfileString("B", "more", "3", file) != 0);
        QCOMPARE(readAll(path), QByteArray("; top comment\n[A]\nkey=new\nother=1\nadded=2\n\n"
                                           "[B]\nkey=b\n; end\nmore=3\n"));
        QCOMPARE(QDir(tree.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"app.INI"});
    }

    void writeKeepsCrLfAndPermissions() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        writeAll(path, "[A]\r\nkey=old\r\n");
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0600) == 0);
        platform::IniProfileFile ini;
        QVERIFY(ini.WritePrivateProfileString("A", "key", "new", QFile::encodeName(path)) != 0);
        QVERIFY(ini.WritePrivateProfileString("A", "two", "2", QFile::encodeName(path)) != 0);
        QCOMPARE(readAll(path), QByteArray("[A]\r\nkey=new\r\ntwo=2\r\n"));
        struct stat info {};
        QVERIFY(::stat(QFile::encodeName(path).constData(), &info) == 0);
        QCOMPARE(info.st_mode & 0777, 0600u);
    }

    void writeRefusesTextsThatWouldBreakLines() {
        TempTree tree;
        const QString path = tree.path("app.INI");
        writeAll(path, "[A]\nkey=old\n");
        platform::IniProfileFile ini;
        const QByteArray file = QFile::encodeName(path);
        QCOMPARE(ini.WritePrivateProfileString("A", "key", "x\n[Evil]\ny=1", file), 0);
        QCOMPARE(ini.WritePrivateProfileString("A", "k=v", "x", file), 0);
        QCOMPARE(ini.WritePrivateProfileString("A]", "k", "x", file), 0);
        QCOMPARE(ini.WritePrivateProfileString("", "k", "x", file), 0);
        QCOMPARE(readAll(path), QByteArray("[A]\nkey=old\n"));
    }

    void failedWriteLeavesNothingBehind() {
        platform::IniProfileFile ini;
        QCOMPARE(ini.WritePrivateProfileString("A", "k", "v", "/nonexistent-folder-of-tessaly/x.INI"), 0);
    }
};

QTEST_APPLESS_MAIN(tst_IniProfileFile)
#include "tst_IniProfileFile.moc"
