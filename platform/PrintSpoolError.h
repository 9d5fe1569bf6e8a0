#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// A document the print system did not queue, with the reason the print system gave.
class PrintSpoolError : public std::runtime_error {
public:
    explicit PrintSpoolError(const QString& message)
        : std::runtime_error(message.toStdString())
        , m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace platform
