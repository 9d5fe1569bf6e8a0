#include "LibreOfficePdf.h"

#include <QProcess>
#include <QTemporaryDir>

namespace testsupport {

QString exportWithLibreOffice(const QStringList& workbooks, const QString& outdir,
                              const QString& format) {
    QTemporaryDir profile;
    if (!profile.isValid())
        return QStringLiteral("no folder for LibreOffice's profile");
    QProcess soffice;
    soffice.setProcessChannelMode(QProcess::MergedChannels);
    soffice.start(QStringLiteral("soffice"),
                  QStringList{QStringLiteral("-env:UserInstallation=file://") + profile.path(),
                              QStringLiteral("--headless"), QStringLiteral("--norestore"),
                              QStringLiteral("--convert-to"), format, QStringLiteral("--outdir"),
                              outdir} +
                      workbooks);
    if (!soffice.waitForFinished(240000))
        return QStringLiteral("soffice did not finish");
    if (soffice.exitStatus() != QProcess::NormalExit || soffice.exitCode() != 0)
        return QStringLiteral("soffice failed: ") + QString::fromLocal8Bit(soffice.readAll());
    return {};
}

} // namespace testsupport
