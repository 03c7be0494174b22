#include "platform/shell/LoginName.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace platform {

QString LoginName() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 1024);
    // A larger buffer is tried while the entry does not fit, up to 1 MiB.
    for (;;) {
        passwd entry{};
        passwd* found = nullptr;
        const int error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == 0)
            return found ? QString::fromLocal8Bit(found->pw_name) : QString();
        if (error != ERANGE || buffer.size() >= (1u << 20))
            return QString();
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace platform
