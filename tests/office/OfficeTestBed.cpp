#include "OfficeTestBed.h"

#include "tests/support/RemoveTree.h"

#include <QDir>
#include <QFile>

OfficeTestBed::OfficeTestBed()
    : m_root(QDir::tempPath() + QStringLiteral("/tessaly-office-XXXXXX")) {}

OfficeTestBed::~OfficeTestBed() {
    // Some tests leave names behind that QTemporaryDir cannot remove.
    if (m_root.isValid())
        testsupport::removeTree(m_root.path());
}

office::LibreOfficeSettings OfficeTestBed::settings() const {
    office::LibreOfficeSettings settings = office::LibreOfficeSettings::fromEnvironment();
    settings.setProfileRoot(profileRoot());
    return settings;
}

QList<pid_t> OfficeTestBed::serverProcesses() const {
    return testsupport::processesMentioning(profileRoot().toUtf8());
}

QString OfficeTestBed::newFolder(const QString& name) const {
    QString folder = m_root.filePath(name);
    QDir().mkpath(folder);
    return folder;
}

QString OfficeTestBed::writeScript(const QString& name, const QString& body) const {
    QString path = m_root.filePath(name);
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    script.write(QByteArrayLiteral("#!/bin/sh\n") + body.toUtf8() + '\n');
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QString failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const office::AutomationError& error) {
        return error.cause().isNull() ? QStringLiteral("") : error.cause();
    }
    return {};
}

std::chrono::milliseconds timed(const std::function<void()>& action) {
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}
