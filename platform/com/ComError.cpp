#include "platform/com/ComError.h"

namespace platform {

ComError::ComError(qint64 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_what((m_source + QStringLiteral(": ") + m_description).toUtf8()) {}

ComError::~ComError() = default;

} // namespace platform
