#include "platform/com/PropertyBag.h"

namespace platform {

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const {
    return m_values.value(name, defaultValue);
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value,
                                const QVariant& defaultValue) {
    if (defaultValue.isValid() && value == defaultValue)
        m_values.remove(name);
    else
        m_values.insert(name, value);
}

} // namespace platform
