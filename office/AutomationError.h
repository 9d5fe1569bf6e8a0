#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace office {

// Every failure of the spreadsheet application server, with a cause a person can read.
class AutomationError : public std::exception {
public:
    explicit AutomationError(const QString& cause);

    QString cause() const { return m_cause; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_cause;
    QByteArray m_utf8;
};

} // namespace office
