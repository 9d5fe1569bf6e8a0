#include "OfficeServer.h"

#include "office/FileUrl.h"
#include "office/ProfileSettings.h"
#include "platform/FileName.h"

#include <com/sun/star/beans/NamedValue.hpp>
#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/XBridge.hpp>
#include <com/sun/star/configuration/theDefaultProvider.hpp>
#include <com/sun/star/connection/Connector.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XNameReplace.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/util/XChangesBatch.hpp>

#include <QCryptographicHash>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <csignal>
#include <initializer_list>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace office {

namespace {

constexpr char kPipeFolder[] = "/tmp";
constexpr auto kConnectRetry = std::chrono::milliseconds(20);
// A server that drops the connection usually exits a moment later; waiting for that gives a
// better cause than the broken bridge.
constexpr auto kExitAfterDisconnect = std::chrono::seconds(1);
// How long a call may still take once the run is asked to stop: long enough for a print call
// to hand its job over, short enough that the user sees the stop take effect.
constexpr auto kStopGrace = std::chrono::seconds(5);

QString inSeconds(std::chrono::milliseconds duration) {
    return QString::number(static_cast<double>(duration.count()) / 1000.0);
}

// Whoever reaches the pipe can make LibreOffice run commands, so its name must not be guessable.
QString randomPipeName() {
    std::array<quint32, 4> words{};
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    QString name = QStringLiteral("tessaly-");
    for (const quint32 word : words)
        name += QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
    return name;
}

struct Setting {
    rtl::OUString name;
    css::uno::Any value;
};

void setConfiguration(const css::uno::Reference<css::lang::XMultiServiceFactory>& provider,
                      const rtl::OUString& nodePath, std::initializer_list<Setting> settings) {
    css::uno::Sequence<css::uno::Any> arguments(1);
    arguments.getArray()[0] <<= css::beans::NamedValue("nodepath", css::uno::Any(nodePath));
    const css::uno::Reference<css::container::XNameReplace> node(
        provider->createInstanceWithArguments(
            "com.sun.star.configuration.ConfigurationUpdateAccess", arguments),
        css::uno::UNO_QUERY_THROW);
    for (const Setting& setting : settings)
        node->replaceByName(setting.name, setting.value);
    css::uno::Reference<css::util::XChangesBatch>(node, css::uno::UNO_QUERY_THROW)->commitChanges();
}

} // namespace

OfficeServer::OfficeServer(std::shared_ptr<UnoRuntime> runtime, const LibreOfficeSettings& settings,
                           const QString& soffice)
    : m_runtime(std::move(runtime))
    , m_settings(settings)
    , m_soffice(soffice)
    , m_pipeName(randomPipeName())
    , m_profile(settings.profileRoot()) {
    writeProfileSettings(m_profile.folder());
    const QStringList arguments{
        QStringLiteral("--headless"),
        QStringLiteral("--invisible"),
        QStringLiteral("--norestore"),
        QStringLiteral("--nologo"),
        QStringLiteral("--nodefault"),
        QStringLiteral("--nolockcheck"),
        QStringLiteral("-env:UserInstallation=") + fileUrl(m_profile.folder()),
        QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(m_pipeName)};
    m_process = std::make_unique<ServerProcess>(soffice, arguments, m_profile.lockDescriptor(),
                                                settings.quitGrace());
    m_watchdog = std::make_unique<CallWatchdog>([this] { m_process->signalGroup(SIGKILL); });
    try {
        connect();
    } catch (...) {
        end();
        throw;
    }
}

OfficeServer::~OfficeServer() {
    end();
}

void OfficeServer::connect() {
    const auto deadline = std::chrono::steady_clock::now() + m_settings.startTimeout();
    const auto startFailure = [&](const QString& detail) {
        if (m_process->hasExited())
            return AutomationError(
                QStringLiteral("LibreOffice (%1) ended with %2 before it could be reached")
                    .arg(m_soffice, m_process->exitDescription()));
        if (m_watchdog->fired() || std::chrono::steady_clock::now() >= deadline)
            return AutomationError(QStringLiteral("LibreOffice (%1) did not answer within %2 s")
                                       .arg(m_soffice, inSeconds(m_settings.startTimeout())));
        return AutomationError(
            QStringLiteral("LibreOffice (%1) could not be reached: %2").arg(m_soffice, detail));
    };
    const auto& local = m_runtime->context();
    try {
        const auto connector = css::connection::Connector::create(local);
        css::uno::Reference<css::connection::XConnection> connection;
        while (!connection.is()) {
            if (m_process->hasExited() || std::chrono::steady_clock::now() >= deadline)
                throw startFailure({});
            try {
                connection = connector->connect(toUno(QStringLiteral("pipe,name=") + m_pipeName));
            } catch (const css::connection::NoConnectException&) {
                std::this_thread::sleep_for(kConnectRetry);
            }
        }
        const auto remaining = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const CallWatchdog::Guard guard(*m_watchdog,
                                        std::max(remaining, std::chrono::milliseconds(1)));
        const auto bridge =
            css::bridge::BridgeFactory::create(local)->createBridge("", "urp", connection, {});
        m_bridge.set(bridge, css::uno::UNO_QUERY_THROW);
        const css::uno::Reference<css::uno::XComponentContext> remote(
            bridge->getInstance("StarOffice.ComponentContext"), css::uno::UNO_QUERY_THROW);
        m_desktop = css::frame::Desktop::create(remote);
        configure(remote);
    } catch (const css::uno::Exception& e) {
        throw startFailure(fromUno(e.Message));
    }
}

void OfficeServer::configure(const css::uno::Reference<css::uno::XComponentContext>& remote) {
    const auto provider = css::configuration::theDefaultProvider::get(remote);
    // Calc prints only the selected sheet unless it is told to print them all.
    setConfiguration(provider, "/org.openoffice.Office.Calc/Print/Other",
                     {{"AllSheets", css::uno::Any(true)}});
    // 1: links to other files are never updated.
    setConfiguration(provider, "/org.openoffice.Office.Calc/Content/Update",
                     {{"Link", css::uno::Any(sal_Int32(1))}});
    // 3: the highest macro security level; on top of that macros are switched off altogether.
    setConfiguration(provider, "/org.openoffice.Office.Common/Security/Scripting",
                     {{"MacroSecurityLevel", css::uno::Any(sal_Int32(3))},
                      {"DisableMacrosExecution", css::uno::Any(true)}});
}

void OfficeServer::setStopRequest(std::stop_token stop) {
    m_watchdog->setStop(std::move(stop), kStopGrace);
}

void OfficeServer::checkRunning(const QString& what) {
    if (m_ended)
        throw AutomationError(QStringLiteral("%1: the application has quit").arg(what));
    if (m_process->hasExited())
        fail(what, {});
}

void OfficeServer::fail(const QString& what, const QString& detail, bool disconnected) {
    if (m_watchdog->fired())
        throw AutomationError(
            QStringLiteral("%1: LibreOffice did not answer within %2 s and has been stopped")
                .arg(what, inSeconds(m_settings.callTimeout())));
    if (m_process->hasExited() || (disconnected && m_process->waitForExit(kExitAfterDisconnect)))
        throw AutomationError(QStringLiteral("%1: LibreOffice ended unexpectedly (%2)")
                                  .arg(what, m_process->exitDescription()));
    throw AutomationError(QStringLiteral("%1: %2").arg(what, detail));
}

void OfficeServer::quit() {
    if (m_ended)
        return;
    try {
        call(QStringLiteral("Quit"), [&] {
            try {
                m_desktop->terminate();
            } catch (const css::lang::DisposedException&) {
                // The server went away while answering: it was terminating anyway.
            }
        });
    } catch (const AutomationError&) {
        end();
        throw;
    }
    m_ended = true;
    m_process->stop(ServerProcess::Stop::AlreadyAsked);
    releaseBridge();
    removeStalePipes();
}

void OfficeServer::end() {
    if (m_ended)
        return;
    m_ended = true;
    // The process goes first: a hung server could hold up the bridge's own shutdown.
    m_process->stop(ServerProcess::Stop::SendTerm);
    releaseBridge();
    removeStalePipes();
}

void OfficeServer::removeStalePipes() const {
    // A server that was signalled or killed leaves the sockets of its pipes behind where the UNO
    // runtime keeps them: the one we connected to, and the one through which a second
    // LibreOffice on the same profile would find this one, named after an MD5 of the UTF-16
    // profile URL in hex digits without leading zeros. The profile is still locked by us here,
    // so no other server of ours can be using that one.
    const QString url = fileUrl(m_profile.folder());
    const QByteArray digest = QCryptographicHash::hash(
        QByteArrayView(reinterpret_cast<const char*>(url.utf16()), url.size() * 2),
        QCryptographicHash::Md5);
    QString profileHash;
    for (const char byte : digest)
        profileHash += QString::number(static_cast<unsigned char>(byte), 16);
    for (const QString& name : {m_pipeName, QStringLiteral("SingleOfficeIPC_") + profileHash}) {
        const QByteArray path = platform::encodeFileName(QStringLiteral("%1/OSL_PIPE_%2_%3")
                                                             .arg(QLatin1String(kPipeFolder))
                                                             .arg(::getuid())
                                                             .arg(name));
        struct stat status {};
        if (::lstat(path.constData(), &status) == 0 && S_ISSOCK(status.st_mode) &&
            status.st_uid == ::getuid())
            ::unlink(path.constData());
    }
}

void OfficeServer::releaseBridge() {
    m_desktop.clear();
    if (!m_bridge.is())
        return;
    try {
        m_bridge->dispose();
    } catch (const css::uno::Exception&) {
        // Already gone with the server.
    }
    m_bridge.clear();
}

} // namespace office
