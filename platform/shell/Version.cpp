#include "platform/shell/Version.h"

#include <QSysInfo>

namespace platform {

bool GetVersionExA(OSVERSIONINFOA* info) {
    if (!info || info->dwOSVersionInfoSize != 148)
        return false;
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 0;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    info->szCSDVersion = QSysInfo::kernelVersion();
    return true;
}

} // namespace platform
