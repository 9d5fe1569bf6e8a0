#include "AutomationError.h"

namespace office {

AutomationError::AutomationError(const QString& cause)
    : m_cause(cause)
    , m_utf8(cause.toUtf8()) {}

} // namespace office
