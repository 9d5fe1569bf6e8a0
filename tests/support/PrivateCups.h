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
    // A queue that rejects jobs answers every new job with an error.
    bool setAcceptingJobs(const QString& name, bool accepting);

    // Every job received so far, oldest first; an empty list when the scheduler cannot be asked.
    QList<PrintedJob> jobs();

private:
    bool runTool(const QString& program, const QStringList& arguments);
    QString errorLog() const;
    void stop();

    QTemporaryDir m_folder;
    std::unique_ptr<QProcess> m_cupsd;
    QString m_error;
};

// The page count of a PDF file (pdfinfo), or -1.
int pdfPageCount(const QString& path);
// The text of each page of a PDF file (pdftotext); empty when it cannot be read.
QStringList pdfPageTexts(const QString& path);
// What is wrong with a job, given the queue it should be on and the marker each of its pages
// should show, in order; the empty text when nothing is.
QString jobProblem(const PrintedJob& job, const QString& queue, const QStringList& pageMarkers);

} // namespace testsupport
