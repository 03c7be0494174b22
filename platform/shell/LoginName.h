#pragma once
// The login name of the user the program runs as.

#include "platform_export.h"

#include <QString>

namespace platform {

// Taken from the user database for the effective user, never from the
// environment, which any caller can set; "" when the database has no entry.
PLATFORM_EXPORT QString LoginName();

} // namespace platform
