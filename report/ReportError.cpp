#include "ReportError.h"

namespace report {

ReportError::ReportError(const QString& message)
    : std::runtime_error(message.toStdString())
    , m_message(message) {}

} // namespace report
