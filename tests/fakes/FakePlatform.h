#pragma once

// Stand-ins for the operating-system services, for tests only.

#include "platform/ICommandLine.h"
#include "platform/IEndRequests.h"
#include "platform/IInstanceLock.h"
#include "platform/IMessageBox.h"
#include "platform/IVersionInfo.h"

#include <QString>

#include <functional>
#include <vector>

struct FakeInstanceLock : platform::IInstanceLock {
    bool running = false;
    bool prevInstance() const override { return running; }
};

struct FakeCommandLine : platform::ICommandLine {
    QString text;
    QString argumentText() const override { return text; }
};

struct FakeVersionInfo : platform::IVersionInfo {
    QString product = QStringLiteral("Tessaly");
    int majorNumber = 1;
    int minorNumber = 0;
    int revisionNumber = 0;
    QString copyright = QStringLiteral("Copyright (C) test");
    QString folder = QStringLiteral("/opt/tessaly");
    QString baseName = QStringLiteral("tessaly");

    QString productName() const override { return product; }
    int major() const override { return majorNumber; }
    int minor() const override { return minorNumber; }
    int revision() const override { return revisionNumber; }
    QString legalCopyright() const override { return copyright; }
    QString exeFolder() const override { return folder; }
    QString exeBaseName() const override { return baseName; }
};

// Records every message instead of showing it.
struct FakeMessageBox : platform::IMessageBox {
    struct Shown {
        QString text;
        platform::MessageIcon icon;
        QString title;
    };
    std::vector<Shown> shown;
    void show(const QString& text, platform::MessageIcon icon, const QString& title) override {
        shown.push_back({text, icon, title});
    }
};

// Holds the handler; request() stands for a termination signal.
struct FakeEndRequests : platform::IEndRequests {
    std::function<void()> handler;
    void setHandler(std::function<void()> newHandler) override { handler = std::move(newHandler); }
    void request() const {
        if (handler)
            handler();
    }
};
