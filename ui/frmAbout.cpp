#include "frmAbout.h"

#include "Placement.h"
#include "Twips.h"

#include "platform/CPrivateProfile.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <exception>
#include <stdexcept>

namespace {

// Bold 9-point Gothic; IPA's Gothic stands in where the Windows font is not installed.
QFont titleFont() {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic")});
    font.setPointSize(9);
    font.setBold(true);
    return font;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

// Closes an open registry key on every way out.
class OpenKey {
public:
    OpenKey(platform::IRegistry& registry, platform::IRegistry::Key key)
        : m_registry(registry)
        , m_key(key) {}
    ~OpenKey() { m_registry.RegCloseKey(m_key); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    platform::IRegistry& m_registry;
    platform::IRegistry::Key m_key;
};

} // namespace

frmAbout::frmAbout(platform::Services& services, QWidget* parent)
    : QDialog(parent)
    , m_services(services) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/about-info.png")));
    setFixedSize(twips(5730), twips(3555));
    createControls();
}

void frmAbout::createControls() {
    // Made in keyboard order.
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(twipsRect(4245, 2625, 1380, 345));
    cmdOK->setDefault(true);

    picIcon = makeLabel(this, "picIcon", twipsRect(240, 240, 540, 540));
    picIcon->setPixmap(QPixmap(QStringLiteral(":/icons/tessaly-32.png")));
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setAccessibleName(QStringLiteral("Tessaly"));

    cmdSysInfo = new QPushButton(QStringLiteral("ｼｽﾃﾑ情報(&S)..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(twipsRect(4260, 3075, 1380, 345));
    cmdSysInfo->setAutoDefault(false);

    lblDisclaimer = makeLabel(this, "lblDisclaimer", twipsRect(255, 2625, 3870, 825));
    QPalette highlighted = lblDisclaimer->palette();
    highlighted.setColor(QPalette::WindowText, highlighted.color(QPalette::Highlight));
    lblDisclaimer->setPalette(highlighted);

    lblTitle = makeLabel(this, "lblTitle", twipsRect(1080, 240, 4365, 360));
    lblTitle->setFont(titleFont());
    lblVersion = makeLabel(this, "lblVersion", twipsRect(1080, 600, 4365, 225));
    lblCopyright = makeLabel(this, "lblCopyright", twipsRect(1080, 840, 4395, 345));

    txtRegistry = new QPlainTextEdit(this);
    txtRegistry->setObjectName(QStringLiteral("txtRegistry"));
    txtRegistry->setGeometry(twipsRect(960, 1560, 4575, 735));
    txtRegistry->setReadOnly(true);
    txtRegistry->setFrameShape(QFrame::NoFrame);
    QPalette plain = txtRegistry->palette();
    plain.setColor(QPalette::Base, plain.color(QPalette::Window));
    txtRegistry->setPalette(plain);
    txtRegistry->setAccessibleName(QStringLiteral("Registered to"));

    lblDescription = makeLabel(this, "lblDescription", twipsRect(960, 1320, 4365, 330));
    lblDescription->setFont(titleFont());

    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, txtRegistry);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::setVisible(bool visible) {
    // The box loads once, just before it is first shown.
    if (visible && !m_loaded) {
        m_loaded = true;
        Form_Load();
    }
    QDialog::setVisible(visible);
}

void frmAbout::Form_Load() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.topLeft() + centredPosition(area.size(), size()));
    }

    const platform::IVersionInfo& version = m_services.versionInfo;
    const QString settingsFile =
        version.exeFolder() + u'/' + version.exeBaseName() + QStringLiteral(".INI");
    if (!m_UsrCaption.isEmpty())
        setWindowTitle(windowTitle() + u' ' + m_UsrCaption);

    CPrivateProfile profile(m_services.profileFile);
    const QString company =
        profile.GetValueString(settingsFile, QStringLiteral("Registry"), QStringLiteral("COMPANY"));
    const QString name =
        profile.GetValueString(settingsFile, QStringLiteral("Registry"), QStringLiteral("NAME"));

    lblTitle->setText(version.productName());
    lblVersion->setText(QStringLiteral("Version %1.%2.%3(2005/02/24)")
                            .arg(version.major())
                            .arg(version.minor())
                            .arg(version.revision(), 3, 10, QLatin1Char('0')));
    lblCopyright->setText(version.legalCopyright());

    QString owner = company;
    if (!name.isEmpty())
        owner += QStringLiteral("\r\n") + name;
    // The text box breaks lines at LF alone.
    txtRegistry->setPlainText(QString(owner).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    lblDisclaimer->setText(QString());
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // Esc presses OK, as Enter does through the default button.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The etched separator: a grey line with a white one just below it.
    QPainter painter(this);
    painter.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    painter.drawLine(twips(90), twips(2445), twips(5654), twips(2445));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2));
    painter.drawLine(twips(105), twips(2460), twips(5654), twips(2460));
}

void frmAbout::cmdOK_Click() {
    accept();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::StartSysInfo() {
    try {
        if (const std::optional<QString> path = systemInfoPath()) {
            m_services.programLauncher.startProgram(*path);
            return;
        }
    } catch (const std::exception&) {
        // A failed lookup or start ends in the message below, as a missing tool does.
    }
    m_services.messageBox.show(QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません"),
                               platform::MessageIcon::None, m_services.versionInfo.productName());
}

std::optional<QString> frmAbout::systemInfoPath() {
    using Registry = platform::IRegistry;
    QString path;
    // The tool's own path, taken as it stands.
    if (GetKeyValue(Registry::HKEY_LOCAL_MACHINE,
                    QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                    QStringLiteral("PATH"), path))
        return path;
    // Otherwise the folder of the shared tools, which must hold the tool.
    QString folder;
    if (!GetKeyValue(Registry::HKEY_LOCAL_MACHINE,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                     QStringLiteral("MSINFO"), folder))
        return std::nullopt;
    path = folder + QStringLiteral("/MSINFO32.EXE");
    if (!m_services.directorySearch.isOrdinaryFile(path))
        return std::nullopt;
    return path;
}

bool frmAbout::GetKeyValue(platform::IRegistry::Key KeyRoot, const QString& KeyName,
                           const QString& SubKeyRef, QString& KeyVal) {
    using Registry = platform::IRegistry;
    Registry& registry = m_services.registry;
    Registry::Key key = 0;
    // Reading needs no more than read access, which every user has.
    if (registry.RegOpenKeyEx(KeyRoot, KeyName.toLocal8Bit(), 0, Registry::KEY_READ, key) !=
        Registry::ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    const OpenKey open(registry, key);

    constexpr quint32 kBufferSize = 1024;
    QByteArray buffer(kBufferSize, '\0');
    quint32 size = kBufferSize;
    quint32 type = 0;
    if (registry.RegQueryValueEx(key, SubKeyRef.toLocal8Bit(), type, buffer.data(), size) !=
        Registry::ERROR_SUCCESS) {
        KeyVal.clear();
        return false;
    }
    if (size == 0 || size > kBufferSize)
        throw std::out_of_range("registry value of no size");
    // A text value's size counts its terminating zero.
    const QByteArray kept = buffer.left(buffer[size - 1] == '\0' ? size - 1 : size);

    switch (type) {
    case Registry::REG_SZ:
        KeyVal = QString::fromLocal8Bit(kept);
        break;
    case Registry::REG_DWORD: {
        quint32 value = 0;
        for (qsizetype i = std::min<qsizetype>(kept.size(), 4) - 1; i >= 0; --i)
            value = (value << 8) | static_cast<unsigned char>(kept[i]);
        KeyVal = QString::number(value);
        break;
    }
    default:
        break;
    }
    return true;
}
