#include "LibreOfficeWorkbooks.h"

#include "LibreOfficeWorkbook.h"
#include "UnoProperties.h"
#include "office/FileUrl.h"
#include "platform/FileName.h"

#include <com/sun/star/document/MacroExecMode.hpp>
#include <com/sun/star/document/UpdateDocMode.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace office {

namespace {

// What Calc falls back to for content it does not recognise. Such a "workbook" would print
// as pages of garbled text, so it counts as one LibreOffice cannot load.
constexpr char kPlainTextFilter[] = "Text - txt - csv (StarCalc)";

QString errnoText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString absolutePath(const QString& path) {
    if (path.startsWith(QLatin1Char('/')))
        return path;
    QByteArray cwd(4096, '\0');
    while (::getcwd(cwd.data(), static_cast<size_t>(cwd.size())) == nullptr) {
        if (errno != ERANGE)
            throw AutomationError(
                QStringLiteral("Open: no current folder for %1: %2").arg(path, errnoText(errno)));
        cwd.resize(cwd.size() * 2);
    }
    cwd.truncate(static_cast<qsizetype>(std::strlen(cwd.constData())));
    return platform::decodeFileName(cwd) + QLatin1Char('/') + path;
}

// LibreOffice's own messages for these cases only say that type detection failed.
void checkReadableFile(const QString& path) {
    const QByteArray bytes = platform::encodeFileName(path);
    struct stat status {};
    if (::stat(bytes.constData(), &status) != 0)
        throw AutomationError(QStringLiteral("Open: %1: %2").arg(path, errnoText(errno)));
    if (!S_ISREG(status.st_mode))
        throw AutomationError(QStringLiteral("Open: %1 is not a file").arg(path));
    const int fd = ::open(bytes.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw AutomationError(QStringLiteral("Open: %1: %2").arg(path, errnoText(errno)));
    ::close(fd);
}

bool isWorkbook(const css::uno::Reference<css::lang::XComponent>& document) {
    const css::uno::Reference<css::lang::XServiceInfo> info(document, css::uno::UNO_QUERY);
    if (!info.is() || !info->supportsService("com.sun.star.sheet.SpreadsheetDocument"))
        return false;
    const css::uno::Reference<css::frame::XModel> model(document, css::uno::UNO_QUERY_THROW);
    rtl::OUString filter;
    propertyValue(model->getArgs(), "FilterName") >>= filter;
    return !filter.equalsAscii(kPlainTextFilter);
}

} // namespace

LibreOfficeWorkbooks::LibreOfficeWorkbooks(std::shared_ptr<OfficeServer> server,
                                           const IPrinterDirectory& printers)
    : m_server(std::move(server))
    , m_printers(printers) {}

std::unique_ptr<IWorkbook> LibreOfficeWorkbooks::Open(const QString& Filename) {
    const QString what = QStringLiteral("Open");
    m_server->checkRunning(what);
    if (Filename.isEmpty())
        throw AutomationError(QStringLiteral("Open: no file name given"));
    const QString path = absolutePath(Filename);
    checkReadableFile(path);

    const auto document = m_server->call(what, [&] {
        const css::uno::Reference<css::lang::XComponent> loaded =
            m_server->desktop()->loadComponentFromURL(
                toUno(fileUrl(path)), "_blank", 0,
                properties(
                    {{"Hidden", css::uno::Any(true)},
                     {"ReadOnly", css::uno::Any(true)},
                     {"MacroExecutionMode",
                      css::uno::Any(css::document::MacroExecMode::NEVER_EXECUTE)},
                     {"UpdateDocMode", css::uno::Any(css::document::UpdateDocMode::NO_UPDATE)}}));
        if (!loaded.is())
            throw AutomationError(QStringLiteral("Open: LibreOffice could not load %1").arg(path));
        if (!isWorkbook(loaded)) {
            css::uno::Reference<css::util::XCloseable>(loaded, css::uno::UNO_QUERY_THROW)
                ->close(true);
            throw AutomationError(
                QStringLiteral("Open: %1 is not a workbook LibreOffice can read").arg(path));
        }
        return loaded;
    });
    return std::make_unique<LibreOfficeWorkbook>(m_server, document, m_printers, path);
}

} // namespace office
