#include "subclass/LoomhookError.h"

#include "subclass/CTimer.h"
#include "subclass/Loomhook.h"

namespace loomhook {

namespace {

QString errorDescription(qint32 code) {
    switch (code) {
    case eeCantSubclass:
        return QStringLiteral("Can't subclass window");
    case eeAlreadyAttached:
        return QStringLiteral("Message already handled by another class");
    case eeInvalidWindow:
        return QStringLiteral("Invalid window");
    case eeNoExternalWindow:
        return QStringLiteral("Can't modify external window");
    // The text names 10 timers; the limit has long been 100, the text stays.
    case eeTooManyTimers:
        return QStringLiteral("No more than 10 timers allowed per class");
    case eeCantCreateTimer:
        return QStringLiteral("Can't create system timer");
    }
    return QString();
}

} // namespace

void raiseLoomhookError(qint32 code) {
    throw platform::ComError(platform::comErrorNumber(code), QStringLiteral("Loomhook.WindowProc"),
                             errorDescription(code));
}

} // namespace loomhook
