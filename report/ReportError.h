#pragma once

#include <QString>

#include <stdexcept>

namespace report {

// Why the report printer refused a call or could not print, with a message fit to show a
// person (a workbook that cannot be read carries the engine's message).
class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace report
