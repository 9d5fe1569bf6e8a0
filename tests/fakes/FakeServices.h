#pragma once

// Every service a window needs, the operating system's ones faked. The directory search and the
// profile file are the real ones, since tests give them real temporary files.

#include "FakePlatform.h"

#include "platform/IniProfileFile.h"
#include "platform/PlatformError.h"
#include "platform/PosixDirectorySearch.h"
#include "platform/Services.h"

#include <map>

// Records every launch and answers with the code it was given.
struct FakeShell : platform::IShell {
    struct Call {
        std::optional<QByteArray> verb;
        QByteArray file;
        std::optional<QByteArray> parameters;
        std::optional<QByteArray> directory;
        qint32 show = 0;
        quint32 mask = 0;
        bool extended = false;
    };
    std::vector<Call> calls;
    qintptr answer = 42;
    qintptr process = 0;
    // Exit codes by process; a missing process cannot be read.
    std::map<qintptr, quint32> exitCodes;
    int exitCodeReads = 0;

    qintptr ShellExecute(qintptr, const std::optional<QByteArray>& verb, const QByteArray& file,
                         const std::optional<QByteArray>& parameters,
                         const std::optional<QByteArray>& directory, qint32 show) override {
        calls.push_back({verb, file, parameters, directory, show, 0, false});
        return answer;
    }
    bool ShellExecuteEx(platform::ShellExecuteInfo& info) override {
        calls.push_back({info.lpVerb, info.lpFile.value_or(QByteArray()), info.lpParameters,
                         info.lpDirectory, info.nShow, info.fMask, true});
        info.hInstApp = answer;
        info.hProcess = process;
        return answer > 32;
    }
    int GetExitCodeProcess(qintptr handle, quint32& exitCode) override {
        ++exitCodeReads;
        const auto found = exitCodes.find(handle);
        if (found == exitCodes.end())
            return 0;
        exitCode = found->second;
        return 1;
    }
};

struct FakeProgramLauncher : platform::IProgramLauncher {
    QStringList started;
    bool fails = false;
    void startProgram(const QString& path) override {
        if (fails)
            throw platform::PlatformError(platform::PlatformError::kFileNotFound,
                                          QStringLiteral("cannot start ") + path);
        started.append(path);
    }
};

// Keys by path (letter case ignored), each a map of values with their type and raw data.
struct MemoryRegistry : platform::IRegistry {
    struct Value {
        quint32 type;
        QByteArray data;
    };
    std::map<QByteArray, std::map<QByteArray, Value>> keys;
    QList<quint32> accessAsked;
    bool refuseWriteAccess = false;
    int openKeys = 0;

    static QByteArray folded(const QByteArray& text) { return text.toLower(); }
    // A text value stored as the registry stores it, with its terminating zero.
    void setText(const QByteArray& key, const QByteArray& name, const QByteArray& text) {
        keys[folded(key)][folded(name)] = {REG_SZ, text + '\0'};
    }

    qint32 RegOpenKeyEx(Key root, const QByteArray& subKey, quint32, quint32 samDesired,
                        Key& result) override {
        accessAsked.append(samDesired);
        if (refuseWriteAccess && (samDesired & ~KEY_READ) != 0)
            return ERROR_ACCESS_DENIED;
        const auto found = keys.find(folded(subKey));
        if (root != HKEY_LOCAL_MACHINE || found == keys.end())
            return ERROR_FILE_NOT_FOUND;
        result = reinterpret_cast<Key>(&found->second);
        ++openKeys;
        return ERROR_SUCCESS;
    }
    qint32 RegQueryValueEx(Key key, const QByteArray& valueName, quint32& type, char* data,
                           quint32& size) override {
        const auto& values = *reinterpret_cast<const std::map<QByteArray, Value>*>(key);
        const auto found = values.find(folded(valueName));
        if (found == values.end())
            return ERROR_FILE_NOT_FOUND;
        type = found->second.type;
        const auto needed = static_cast<quint32>(found->second.data.size());
        if (size < needed) {
            size = needed;
            return ERROR_MORE_DATA;
        }
        std::copy(found->second.data.begin(), found->second.data.end(), data);
        size = needed;
        return ERROR_SUCCESS;
    }
    qint32 RegCloseKey(Key) override {
        --openKeys;
        return ERROR_SUCCESS;
    }
};

struct FakeServices {
    FakeInstanceLock lock;
    FakeCommandLine commandLine;
    FakeVersionInfo version;
    platform::PosixDirectorySearch search;
    FakeMessageBox messages;
    platform::IniProfileFile profile;
    FakeShell shell;
    FakeProgramLauncher launcher;
    MemoryRegistry registry;
    FakeEndRequests endRequests;
    platform::Services services{lock,    commandLine, version,  search,   messages,
                                profile, shell,       launcher, registry, endRequests};
};
