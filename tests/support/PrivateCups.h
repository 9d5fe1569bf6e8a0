#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace testsupport {

// A job as the private scheduler received it.
struct PrintedJob {
    int id = 0;
    QString queue;
    QString title;
    int copies = 1; // what a job that names no number of copies gets
    bool collate = false;
    // The job's sides and job-priority attributes as text, empty when it has none.
    QString sides;
    QString priority;
    // The spooled document, as the printing program sent it.
    QString document;
};

// A CUPS scheduler of the test's own: configuration, spool, state, logs and its listening
// socket all live in a temporary folder, and CUPS_SERVER points this process and the programs
// it starts at it. The system's scheduler and queues are never touched. Queues print to
// /dev/null; every job's document is kept in the spool, so tests read the jobs back.
// Works as root and as an ordinary user.
class PrivateCups {
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Starts the scheduler and waits until it answers; false (see errorString()) if it does not.
    bool start();
    QString errorString() const { return m_error; }
    QString socketPath() const;

    bool addQueue(const QString& name);
    bool setDefaultQueue(const QString& name);
    // Writes the system's lpoptions file anew with these lines ("Dest NAME OPTION=VALUE…",
    // "Default NAME"), as lpoptions writes it; no lines empties it.
    bool setLpOptions(const QStringList& lines);
    // A queue that rejects jobs answers every new job with an error.
    bool setAcceptingJobs(const QString& name, bool accepting);
    // Ends the scheduler, as when it has gone away; start() brings it back with its queues and
    // the jobs it kept.
    void stop();

    // Every job received so far, oldest first; an empty list when the scheduler cannot be asked.
    QList<PrintedJob> jobs();
    // The id of the newest job received so far, or 0, and the jobs received after a given one.
    int lastJobId();
    QList<PrintedJob> jobsAfter(int jobId);

private:
    bool runTool(const QString& program, const QStringList& arguments);
    QString errorLog() const;

    QTemporaryDir m_folder;
    std::unique_ptr<QProcess> m_cupsd;
    QString m_error;
};

// The page count of a PDF file (pdfinfo), or -1.
int pdfPageCount(const QString& path);
// The text of each page of a PDF file (pdftotext); empty when it cannot be read.
QStringList pdfPageTexts(const QString& path);
// A job a test expects: the queue it is on, the fixture workbook it prints (see
// fixturePageMarkers) and its title, which is not checked when empty.
struct ExpectedJob {
    QString queue;
    QString fixture;
    QString title;
};
// What is wrong with jobs, given what each should be, in order: their number, queues, titles,
// copies (one each), page counts and the marker on each page. The empty text when nothing is.
QString jobsProblem(const QList<PrintedJob>& jobs, const QList<ExpectedJob>& expected);

} // namespace testsupport
