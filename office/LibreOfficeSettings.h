#pragma once

#include <QString>

#include <chrono>
#include <optional>

namespace office {

// Where LibreOffice is, where its private profiles live and how long it may take.
class LibreOfficeSettings {
public:
    // The standard install location, used when no soffice is on PATH.
    static constexpr const char* kStandardSoffice = "/usr/lib/libreoffice/program/soffice";

    // The defaults, changed by the environment: TESSALY_SOFFICE names the soffice to start,
    // TESSALY_OFFICE_TIMEOUT the seconds a call may take (a positive number; anything else
    // keeps the default).
    static LibreOfficeSettings fromEnvironment();

    // The executable to start: the one named explicitly (a bare name is looked up on PATH),
    // else soffice on PATH, else the standard location. Empty when none is there.
    QString sofficeProgram() const;

    QString soffice() const { return m_soffice; }
    void setSoffice(const QString& program) { m_soffice = program; }
    // Folder of the private profiles kept between starts.
    QString profileRoot() const { return m_profileRoot; }
    void setProfileRoot(const QString& folder) { m_profileRoot = folder; }
    std::chrono::milliseconds startTimeout() const { return m_startTimeout; }
    void setStartTimeout(std::chrono::milliseconds timeout) { m_startTimeout = timeout; }
    std::chrono::milliseconds callTimeout() const { return m_callTimeout; }
    void setCallTimeout(std::chrono::milliseconds timeout) { m_callTimeout = timeout; }
    // How long the server may take to end before it is killed.
    std::chrono::milliseconds quitGrace() const { return m_quitGrace; }
    void setQuitGrace(std::chrono::milliseconds grace) { m_quitGrace = grace; }

private:
    QString m_soffice;
    QString m_profileRoot;
    std::chrono::milliseconds m_startTimeout{std::chrono::seconds(60)};
    std::chrono::milliseconds m_callTimeout{std::chrono::minutes(10)};
    std::chrono::milliseconds m_quitGrace{std::chrono::seconds(10)};
};

} // namespace office
