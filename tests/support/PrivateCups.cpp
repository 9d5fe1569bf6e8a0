#include "PrivateCups.h"

#include "Fixtures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cups/cups.h>

#include <algorithm>
#include <cstring>
#include <grp.h>
#include <iterator>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace testsupport {

namespace {

constexpr int kStartTimeoutMs = 20000;
constexpr int kToolTimeoutMs = 30000;

bool writeFile(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

bool socketAnswers(const QByteArray& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = path.left(sizeof address.sun_path - 1);
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

QString currentUserName() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

QString currentGroupName() {
    const group* entry = ::getgrgid(::getgid());
    return entry != nullptr ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

} // namespace

PrivateCups::PrivateCups()
    : m_folder(QDir::tempPath() + QStringLiteral("/tessaly-cups-XXXXXX")) {}

PrivateCups::~PrivateCups() {
    stop();
}

QString PrivateCups::socketPath() const {
    return m_folder.filePath(QStringLiteral("cups.sock"));
}

bool PrivateCups::start() {
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_folder.errorString();
        return false;
    }
    const QString root = m_folder.path();
    if (socketPath().toUtf8().size() >= static_cast<qsizetype>(sizeof(sockaddr_un::sun_path))) {
        m_error = QStringLiteral("socket path too long: ") + socketPath();
        return false;
    }
    for (const char* folder : {"etc", "spool", "state", "cache", "log", "tmp"}) {
        if (!QDir(root).mkpath(QString::fromLatin1(folder))) {
            m_error = QStringLiteral("cannot create %1/%2").arg(root, QLatin1String(folder));
            return false;
        }
    }

    // As root the scheduler runs its helpers as lp, who must reach the spool beneath the
    // temporary folder; as an ordinary user it runs everything as that user.
    QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                    QFile::ExeGroup | QFile::ExeOther);
    QString files = QStringLiteral("ServerRoot %1/etc\n"
                                   "RequestRoot %1/spool\n"
                                   "StateDir %1/state\n"
                                   "CacheDir %1/cache\n"
                                   "TempDir %1/tmp\n"
                                   "ErrorLog %1/log/error_log\n"
                                   "AccessLog %1/log/access_log\n"
                                   "PageLog %1/log/page_log\n"
                                   "FileDevice Yes\n")
                        .arg(root);
    if (::getuid() != 0) {
        files += QStringLiteral("User %1\nGroup %2\nSystemGroup %2\n")
                     .arg(currentUserName(), currentGroupName());
    }
    const QString scheduler =
        QStringLiteral("Listen %1\n"
                       "Browsing No\n"
                       "BrowseLocalProtocols none\n"
                       "DefaultAuthType None\n"
                       "WebInterface No\n"
                       "LogLevel warn\n"
                       "PreserveJobFiles Yes\n"
                       "PreserveJobHistory Yes\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n"
                       "  JobPrivateAccess all\n  JobPrivateValues none\n"
                       "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n"
                       "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                       "</Policy>\n")
            .arg(socketPath());
    const QString filesConf = root + QStringLiteral("/etc/cups-files.conf");
    const QString schedulerConf = root + QStringLiteral("/etc/cupsd.conf");
    if (!writeFile(filesConf, files) || !writeFile(schedulerConf, scheduler)) {
        m_error = QStringLiteral("cannot write the scheduler's configuration in ") + root;
        return false;
    }

    m_cupsd = std::make_unique<QProcess>();
    m_cupsd->setProcessChannelMode(QProcess::ForwardedChannels);
    m_cupsd->start(QStringLiteral("cupsd"), {QStringLiteral("-f"), QStringLiteral("-c"),
                                             schedulerConf, QStringLiteral("-s"), filesConf});
    if (!m_cupsd->waitForStarted()) {
        m_error = QStringLiteral("cupsd does not start: ") + m_cupsd->errorString();
        return false;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    while (!socketAnswers(socketPath().toUtf8())) {
        // Waiting for the end of cupsd doubles as the pause between two tries.
        if (m_cupsd->waitForFinished(20) || deadline.hasExpired()) {
            m_error = QStringLiteral("cupsd did not come up: ") + errorLog();
            stop();
            return false;
        }
    }

    // libcups reads these once per thread and the programs the test starts inherit them.
    qputenv("CUPS_SERVER", socketPath().toUtf8());
    qputenv("CUPS_SERVERROOT", (root + QStringLiteral("/etc")).toUtf8());
    qunsetenv("LPDEST");
    qunsetenv("PRINTER");
    cupsSetServer(socketPath().toUtf8().constData());
    return true;
}

bool PrivateCups::addQueue(const QString& name) {
    return runTool(QStringLiteral("lpadmin"),
                   {QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("file:///dev/null")});
}

bool PrivateCups::setDefaultQueue(const QString& name) {
    return runTool(QStringLiteral("lpadmin"), {QStringLiteral("-d"), name});
}

bool PrivateCups::setLpOptions(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1Char('\n');
    if (writeFile(m_folder.filePath(QStringLiteral("etc/lpoptions")), text))
        return true;
    m_error = QStringLiteral("cannot write the lpoptions file");
    return false;
}

bool PrivateCups::setAcceptingJobs(const QString& name, bool accepting) {
    return runTool(accepting ? QStringLiteral("cupsaccept") : QStringLiteral("cupsreject"), {name});
}

bool PrivateCups::runTool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    // -h names the server explicitly as well, whatever the environment says.
    tool.start(program, QStringList{QStringLiteral("-h"), socketPath()} + arguments);
    if (!tool.waitForFinished(kToolTimeoutMs) || tool.exitStatus() != QProcess::NormalExit ||
        tool.exitCode() != 0) {
        m_error = QStringLiteral("%1 %2 failed: %3")
                      .arg(program, arguments.join(QLatin1Char(' ')),
                           QString::fromLocal8Bit(tool.readAll()) + tool.errorString());
        return false;
    }
    return true;
}

QList<PrintedJob> PrivateCups::jobs() {
    QList<PrintedJob> result;
    http_t* http = httpConnect2(socketPath().toUtf8().constData(), 0, nullptr, AF_LOCAL,
                                HTTP_ENCRYPTION_NEVER, 1, kToolTimeoutMs, nullptr);
    if (http == nullptr) {
        m_error = QStringLiteral("cannot reach the scheduler");
        return result;
    }
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    const char* const wanted[] = {"job-id",  "job-name", "job-printer-uri", "copies",
                                  "collate", "sides",    "job-priority"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(wanted)), nullptr, wanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    for (ipp_attribute_t* attribute = response != nullptr ? ippFirstAttribute(response) : nullptr;
         attribute != nullptr; attribute = ippNextAttribute(response)) {
        if (ippGetGroupTag(attribute) != IPP_TAG_JOB)
            continue;
        PrintedJob job;
        for (; attribute != nullptr && ippGetGroupTag(attribute) == IPP_TAG_JOB;
             attribute = ippNextAttribute(response)) {
            const QByteArray name = ippGetName(attribute);
            if (name == "job-id")
                job.id = ippGetInteger(attribute, 0);
            else if (name == "job-name")
                job.title = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
            else if (name == "job-printer-uri")
                job.queue = QString::fromUtf8(ippGetString(attribute, 0, nullptr))
                                .section(QLatin1Char('/'), -1);
            else if (name == "copies")
                job.copies = ippGetInteger(attribute, 0);
            else if (name == "collate")
                job.collate = ippGetBoolean(attribute, 0) != 0;
            else if (name == "sides")
                job.sides = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
            else if (name == "job-priority")
                job.priority = QString::number(ippGetInteger(attribute, 0));
        }
        job.document =
            m_folder.filePath(QStringLiteral("spool/d%1-001").arg(job.id, 5, 10, QLatin1Char('0')));
        result.append(job);
        if (attribute == nullptr)
            break;
    }
    ippDelete(response);
    httpClose(http);
    std::sort(result.begin(), result.end(),
              [](const PrintedJob& a, const PrintedJob& b) { return a.id < b.id; });
    return result;
}

int PrivateCups::lastJobId() {
    const QList<PrintedJob> all = jobs();
    return all.isEmpty() ? 0 : all.last().id;
}

QList<PrintedJob> PrivateCups::jobsAfter(int jobId) {
    QList<PrintedJob> result = jobs();
    result.removeIf([jobId](const PrintedJob& job) { return job.id <= jobId; });
    return result;
}

QString PrivateCups::errorLog() const {
    QFile log(m_folder.filePath(QStringLiteral("log/error_log")));
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll())
                                         : QStringLiteral("(no error log)");
}

void PrivateCups::stop() {
    if (!m_cupsd)
        return;
    m_cupsd->terminate();
    if (!m_cupsd->waitForFinished(10000)) {
        m_cupsd->kill();
        m_cupsd->waitForFinished(10000);
    }
    m_cupsd.reset();
}

int pdfPageCount(const QString& path) {
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {path});
    if (!info.waitForFinished(kToolTimeoutMs) || info.exitCode() != 0)
        return -1;
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QStringList pdfPageTexts(const QString& path) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!text.waitForFinished(kToolTimeoutMs) || text.exitCode() != 0)
        return {};
    // pdftotext ends every page with a form feed.
    QStringList pages = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

namespace {

QString jobProblem(const PrintedJob& job, const ExpectedJob& expected) {
    if (job.queue != expected.queue)
        return QStringLiteral("job %1 went to %2").arg(job.id).arg(job.queue);
    if (!expected.title.isEmpty() && job.title != expected.title)
        return QStringLiteral("job %1 is titled %2").arg(job.id).arg(job.title);
    if (job.copies != 1)
        return QStringLiteral("job %1 has %2 copies").arg(job.id).arg(job.copies);
    const QStringList markers = fixturePageMarkers(expected.fixture);
    const int pageCount = pdfPageCount(job.document);
    if (markers.isEmpty() || pageCount != markers.size())
        return QStringLiteral("job %1 has %2 pages").arg(job.id).arg(pageCount);
    const QStringList pages = pdfPageTexts(job.document);
    if (pages.size() != markers.size())
        return QStringLiteral("job %1 has the text of %2 pages").arg(job.id).arg(pages.size());
    for (int i = 0; i < pages.size(); ++i) {
        if (!pages[i].contains(markers[i]))
            return QStringLiteral("page %1 of job %2 lacks %3")
                .arg(i + 1)
                .arg(job.id)
                .arg(markers[i]);
    }
    return {};
}

} // namespace

QString jobsProblem(const QList<PrintedJob>& jobs, const QList<ExpectedJob>& expected) {
    if (jobs.size() != expected.size())
        return QStringLiteral("%1 jobs, not %2").arg(jobs.size()).arg(expected.size());
    for (qsizetype i = 0; i < jobs.size(); ++i) {
        QString problem = jobProblem(jobs[i], expected[i]);
        if (!problem.isEmpty())
            return problem;
    }
    return {};
}

} // namespace testsupport
