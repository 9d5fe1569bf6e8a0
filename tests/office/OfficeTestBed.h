#pragma once

#include "office/AutomationError.h"
#include "office/LibreOfficeSettings.h"
#include "tests/support/ProcessScan.h"

#include <QString>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

// What the LibreOffice tests share: a private profile root, so that the servers a test starts
// can be found (and must be gone) afterwards, and ways to look at failures.
class OfficeTestBed {
public:
    OfficeTestBed();
    ~OfficeTestBed();
    OfficeTestBed(const OfficeTestBed&) = delete;
    OfficeTestBed& operator=(const OfficeTestBed&) = delete;

    bool isValid() const { return m_root.isValid(); }
    // The settings the program would use, with the profiles kept in this test's own folder.
    office::LibreOfficeSettings settings() const;
    QString profileRoot() const { return m_root.filePath(QStringLiteral("profiles")); }
    // The processes of the servers started on this test's profiles.
    QList<pid_t> serverProcesses() const;
    // A fresh folder for one test function's workbooks.
    QString newFolder(const QString& name) const;
    // An executable shell script standing in for soffice.
    QString writeScript(const QString& name, const QString& body) const;

private:
    QTemporaryDir m_root;
};

// The cause of the AutomationError that action raised, or a null text when it raised none.
QString failureOf(const std::function<void()>& action);

// How long action took.
std::chrono::milliseconds timed(const std::function<void()>& action);
