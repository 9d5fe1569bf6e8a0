#include "CPrivateProfile.h"

#include "platform/FileName.h"

#include <exception>

namespace {
constexpr quint32 kBufferSize = 128;
} // namespace

CPrivateProfile::CPrivateProfile(platform::IProfileFile& profileFile)
    : m_profileFile(profileFile) {}

qint32 CPrivateProfile::GetValueLong(const QString& strINIFileName, const QString& strSection,
                                     const QString& strKey) {
    qint32 result = 0;
    try {
        result = m_profileFile.GetPrivateProfileInt(strSection.toLocal8Bit(), strKey.toLocal8Bit(),
                                                    0, platform::encodeFileName(strINIFileName));
    } catch (const std::exception&) {
    }
    return result;
}

QString CPrivateProfile::GetValueString(const QString& strINIFileName, const QString& strSection,
                                        const QString& strKey) {
    QString result;
    try {
        QByteArray buffer(kBufferSize, ' ');
        const quint32 count = m_profileFile.GetPrivateProfileString(
            strSection.toLocal8Bit(), strKey.toLocal8Bit(), QByteArray(), buffer.data(),
            kBufferSize, platform::encodeFileName(strINIFileName));
        if (count > 0) {
            const qsizetype nul = buffer.indexOf('\0');
            result = QString::fromLocal8Bit(buffer.left(nul < 0 ? buffer.size() : nul));
        }
    } catch (const std::exception&) {
    }
    return result;
}

bool CPrivateProfile::SetValueString(const QString& strINIFileName, const QString& strSection,
                                     const QString& strKey, const QString& strValue) {
    bool result = false;
    try {
        const int written = m_profileFile.WritePrivateProfileString(
            strSection.toLocal8Bit(), strKey.toLocal8Bit(), strValue.toLocal8Bit(),
            platform::encodeFileName(strINIFileName));
        result = static_cast<qint16>(written) != 0;
    } catch (const std::exception&) {
    }
    return result;
}
