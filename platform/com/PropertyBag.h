#pragma once
// The saved properties of a control: named values, read with a default for
// an absent name. Writing a value equal to its default leaves the name out,
// so a bag holds only what differs from a new control.

#include "platform_export.h"

#include <QMap>
#include <QString>
#include <QVariant>

namespace platform {

class PLATFORM_EXPORT PropertyBag {
public:
    QVariant ReadProperty(const QString& name, const QVariant& defaultValue = QVariant()) const;
    void WriteProperty(const QString& name, const QVariant& value,
                       const QVariant& defaultValue = QVariant());

    bool contains(const QString& name) const { return m_values.contains(name); }
    bool isEmpty() const { return m_values.isEmpty(); }
    QStringList names() const { return m_values.keys(); }

private:
    QMap<QString, QVariant> m_values;
};

} // namespace platform
