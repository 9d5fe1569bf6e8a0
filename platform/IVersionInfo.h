#pragma once

#include <QString>

namespace platform {

// The program's own version information and where its executable lies.
class IVersionInfo {
public:
    virtual ~IVersionInfo() = default;
    virtual QString productName() const = 0;
    virtual int major() const = 0;
    virtual int minor() const = 0;
    virtual int revision() const = 0;
    virtual QString legalCopyright() const = 0;
    // The folder of the running executable, without a trailing separator.
    virtual QString exeFolder() const = 0;
    // The executable's file name without its extension.
    virtual QString exeBaseName() const = 0;
};

} // namespace platform
