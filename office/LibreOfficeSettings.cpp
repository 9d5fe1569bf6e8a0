#include "LibreOfficeSettings.h"

#include "platform/FileName.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>

namespace office {

namespace {

constexpr double kLongestTimeoutSeconds = 1e9;

} // namespace

LibreOfficeSettings LibreOfficeSettings::fromEnvironment() {
    LibreOfficeSettings settings;
    settings.setSoffice(platform::decodeFileName(qgetenv("TESSALY_SOFFICE")));
    settings.setProfileRoot(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                            QStringLiteral("/tessaly/libreoffice"));
    bool valid = false;
    const double seconds = qEnvironmentVariable("TESSALY_OFFICE_TIMEOUT").toDouble(&valid);
    if (valid && seconds > 0) {
        // Capped far beyond any real wait, so that the deadline stays within the clock's range.
        const double milliseconds = std::ceil(std::min(seconds, kLongestTimeoutSeconds) * 1000);
        settings.setCallTimeout(std::chrono::milliseconds(static_cast<long long>(milliseconds)));
    }
    return settings;
}

QString LibreOfficeSettings::sofficeProgram() const {
    if (!m_soffice.isEmpty()) {
        if (m_soffice.contains(QLatin1Char('/')))
            return m_soffice;
        return QStandardPaths::findExecutable(m_soffice);
    }
    QString onPath = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (!onPath.isEmpty())
        return onPath;
    const QFileInfo standard(QString::fromLatin1(kStandardSoffice));
    return standard.isExecutable() ? standard.filePath() : QString();
}

} // namespace office
