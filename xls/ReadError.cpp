#include "ReadError.h"

namespace xls {

ReadError::ReadError(Kind kind, const QString& message)
    : std::runtime_error(message.toStdString())
    , m_kind(kind)
    , m_message(message) {}

} // namespace xls
