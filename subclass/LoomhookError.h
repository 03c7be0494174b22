#pragma once
// Raising Loomhook's numbered errors: number 0x80040000 Or the code, source
// "Loomhook.WindowProc" and a fixed English description per code.

#include <QtGlobal>

namespace loomhook {

// Throws platform::ComError for one of the codes of ELoomhookError or EErrorTimer.
[[noreturn]] void raiseLoomhookError(qint32 code);

} // namespace loomhook
