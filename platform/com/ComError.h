#pragma once
// The error a component raises to its caller: a number, the source that
// raised it and a fixed description. One exported type, so it can be caught by
// type in any library or program of the process.

#include "platform_export.h"

#include <QString>

#include <exception>

namespace platform {

class PLATFORM_EXPORT ComError : public std::exception {
public:
    ComError(qint64 number, QString source, QString description);
    ~ComError() override;

    qint64 number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    qint64 m_number;
    QString m_source;
    QString m_description;
    QByteArray m_what;
};

// Error numbers of components are 0x80040000 Or their code.
constexpr qint64 comErrorNumber(qint64 code) {
    return qint64(0x80040000u) | code;
}

} // namespace platform
