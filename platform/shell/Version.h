#pragma once
// The system version record. The layer offers the services of an NT-family
// system of version 10 (layered windows and all), whatever the kernel.

#include "platform_export.h"

#include <QString>

namespace platform {

constexpr quint32 VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr quint32 VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
    quint32 dwOSVersionInfoSize = 0; // must be 148 before the call
    quint32 dwMajorVersion = 0;
    quint32 dwMinorVersion = 0;
    quint32 dwBuildNumber = 0;
    quint32 dwPlatformId = 0;
    QString szCSDVersion; // the kernel's release
};

// False when the record's size field is not 148.
PLATFORM_EXPORT bool GetVersionExA(OSVERSIONINFOA* info);

} // namespace platform
