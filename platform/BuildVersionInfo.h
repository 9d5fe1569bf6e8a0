#pragma once

#include "IVersionInfo.h"

namespace platform {

// Version information compiled in from the build; the executable's place from /proc/self/exe.
class BuildVersionInfo : public IVersionInfo {
public:
    BuildVersionInfo();

    QString productName() const override;
    int major() const override;
    int minor() const override;
    int revision() const override;
    QString legalCopyright() const override;
    QString exeFolder() const override { return m_exeFolder; }
    QString exeBaseName() const override { return m_exeBaseName; }

private:
    QString m_exeFolder;
    QString m_exeBaseName;
};

} // namespace platform
