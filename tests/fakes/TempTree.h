#pragma once

// A temporary folder for tests that need real files.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class TempTree {
public:
    TempTree() { QVERIFY2(m_dir.isValid(), "cannot create a temporary folder"); }
    // Qt cannot remove names that are not valid UTF-8; they go first.
    ~TempTree() {
        for (const QByteArray& raw : m_rawFiles)
            ::unlink(raw.constData());
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    QString path() const { return m_dir.path(); }
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // Creates an empty file (and its folders) and returns its full path.
    QString file(const QString& relative) const {
        const QString full = path(relative);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        if (!f.open(QIODevice::WriteOnly))
            qFatal("cannot create %s", qPrintable(full));
        return full;
    }
    QString folder(const QString& relative) const {
        const QString full = path(relative);
        QDir().mkpath(full);
        return full;
    }
    // A file whose name holds raw bytes, which need not be valid UTF-8.
    QByteArray rawFile(const QByteArray& name) {
        const QByteArray full = QFile::encodeName(path()) + '/' + name;
        const int fd = ::open(full.constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            qFatal("cannot create a raw file name");
        ::close(fd);
        m_rawFiles.append(full);
        return full;
    }

private:
    QTemporaryDir m_dir;
    QList<QByteArray> m_rawFiles;
};
