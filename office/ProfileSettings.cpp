#include "ProfileSettings.h"

#include "AutomationError.h"
#include "platform/FontTable.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace office {

namespace {

constexpr char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\""
                         " xmlns:xs=\"http://www.w3.org/2001/XMLSchema\""
                         " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
constexpr char kItemsEnd[] = "</oor:items>";
constexpr QByteArrayView kItemEnd = "</item>";
constexpr char kLocalePath[] = "/org.openoffice.Setup/L10N";
constexpr char kLocaleName[] = "ooSetupSystemLocale";
constexpr char kSubstitutionPath[] = "/org.openoffice.Office.Common/Font/Substitution";

QString property(const QString& name, const QString& value) {
    return QStringLiteral("<prop oor:name=\"%1\" oor:op=\"fuse\"><value>%2</value></prop>")
        .arg(name, value.toHtmlEscaped());
}

QString item(const QString& path, const QString& content) {
    return QStringLiteral("<item oor:path=\"%1\">%2</item>\n").arg(path, content);
}

QByteArray ourItems() {
    QString items = item(QLatin1String(kLocalePath),
                         property(QLatin1String(kLocaleName), QStringLiteral("ja-JP")));
    // Replacement applies the pairs; Always and not OnScreenOnly make them hold for printing
    // too, whether or not the workbook's font is installed.
    items += item(QLatin1String(kSubstitutionPath),
                  property(QStringLiteral("Replacement"), QStringLiteral("true")));
    int n = 0;
    for (const platform::NamedFont& named : platform::namedFonts()) {
        const QString pair =
            property(QStringLiteral("Always"), QStringLiteral("true")) +
            property(QStringLiteral("OnScreenOnly"), QStringLiteral("false")) +
            property(QStringLiteral("ReplaceFont"), QString::fromUtf8(named.name)) +
            property(QStringLiteral("SubstituteFont"), platform::substituteFamily(named));
        items += item(QLatin1String(kSubstitutionPath) + QStringLiteral("/FontPairs"),
                      QStringLiteral("<node oor:name=\"tessaly-%1\" oor:op=\"replace\">%2</node>")
                          .arg(n++)
                          .arg(pair));
    }
    return items.toUtf8();
}

// Whether an item of the file sets one of the keys written here. Every item under the
// substitution node counts, so that no pair of an earlier table survives.
bool isOurs(const QByteArray& item) {
    const QByteArray localePath = QByteArrayLiteral("oor:path=\"") + kLocalePath + '"';
    return item.contains(QByteArrayLiteral("oor:path=\"") + kSubstitutionPath) ||
           (item.contains(localePath) &&
            item.contains(QByteArrayLiteral("oor:name=\"") + kLocaleName + '"'));
}

} // namespace

QByteArray withProfileSettings(const QByteArray& existing) {
    // LibreOffice writes the file as one <item> element after another, each on a line of its
    // own; items never nest.
    const qsizetype itemsStart = existing.indexOf("<oor:items");
    const qsizetype bodyStart = existing.indexOf('>', itemsStart);
    const qsizetype bodyEnd = existing.lastIndexOf(kItemsEnd);
    QByteArray result = QByteArray(kHead);
    if (itemsStart >= 0 && bodyStart >= 0 && bodyEnd > bodyStart) {
        result = existing.left(bodyStart + 1) + '\n';
        for (qsizetype at = existing.indexOf("<item ", bodyStart); at >= 0 && at < bodyEnd;) {
            const qsizetype end = existing.indexOf(kItemEnd, at);
            if (end < 0 || end > bodyEnd)
                return QByteArray(kHead) + ourItems() + kItemsEnd + '\n';
            const QByteArray item = existing.mid(at, end + kItemEnd.size() - at);
            if (!isOurs(item))
                result += item + '\n';
            at = existing.indexOf("<item ", end);
        }
    }
    return result + ourItems() + kItemsEnd + '\n';
}

void writeProfileSettings(const QString& profileFolder) {
    const QString user = profileFolder + QStringLiteral("/user");
    const QString path = user + QStringLiteral("/registrymodifications.xcu");
    QByteArray existing;
    QFile current(path);
    if (current.open(QIODevice::ReadOnly))
        existing = current.readAll();
    QSaveFile file(path);
    if (!QDir().mkpath(user) || !file.open(QIODevice::WriteOnly) ||
        file.write(withProfileSettings(existing)) < 0 || !file.commit())
        throw AutomationError(QStringLiteral("Cannot write the LibreOffice profile settings %1: %2")
                                  .arg(path, file.errorString()));
}

} // namespace office
