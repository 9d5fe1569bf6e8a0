#pragma once

#include "platform/IProfileFile.h"

#include <QString>

// Reads and writes single values of a profile-format settings file. Nothing is cached: every
// call goes to the file afresh, and no call ever fails: 0, the empty text or false come back.
class CPrivateProfile {
public:
    explicit CPrivateProfile(platform::IProfileFile& profileFile);

    qint32 GetValueLong(const QString& strINIFileName, const QString& strSection,
                        const QString& strKey);
    // At most 127 bytes of the value arrive, as the settings file's buffer holds 128.
    QString GetValueString(const QString& strINIFileName, const QString& strSection,
                           const QString& strKey);
    bool SetValueString(const QString& strINIFileName, const QString& strSection,
                        const QString& strKey, const QString& strValue);

private:
    platform::IProfileFile& m_profileFile;
};
