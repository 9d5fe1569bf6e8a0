#include "Fixtures.h"

#include "platform/FileName.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace testsupport {

QString fixturePath(const QString& name) {
    return QStringLiteral(TESSALY_TEST_FIXTURES) + QLatin1Char('/') + name;
}

QStringList fixturePageMarkers(const QString& name) {
    if (name == QLatin1String("three_sheets.xls"))
        return {QStringLiteral("alpha-sheet-marker"), QStringLiteral("beta-sheet-marker"),
                QStringLiteral("gamma-sheet-marker")};
    if (name == QLatin1String("two_sheets.xls"))
        return {QStringLiteral("first-sheet-marker"), QStringLiteral("second-sheet-top"),
                QStringLiteral("second-sheet-bottom")};
    if (name == QLatin1String("hidden_sheets.xls"))
        return {QStringLiteral("shown-first-marker"), QStringLiteral("shown-last-marker")};
    return {};
}

QString copyFixture(const QString& name, const QString& folder, const QString& newName) {
    QFile source(fixturePath(name));
    if (!source.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = source.readAll();
    // Written through the name's bytes, so that names that are not UTF-8 work too.
    const QString target = folder + QLatin1Char('/') + (newName.isEmpty() ? name : newName);
    const int fd = ::open(platform::encodeFileName(target).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return {};
    const bool written = ::write(fd, content.constData(), static_cast<size_t>(content.size())) ==
                         static_cast<ssize_t>(content.size());
    return ::close(fd) == 0 && written ? target : QString();
}

} // namespace testsupport
