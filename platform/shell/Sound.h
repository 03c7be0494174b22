#pragma once
// Playing a sound file in the background. Only WAV files play; a file that
// cannot be played, or a machine without an audio output, stays silent.

#include "platform_export.h"

#include <QString>

namespace platform {

constexpr quint32 SND_SYNC = 0x0;
constexpr quint32 SND_ASYNC = 0x1;
constexpr quint32 SND_NODEFAULT = 0x2;
constexpr quint32 SND_FILENAME = 0x20000;

// Starts playing the file and returns at once; there is no default sound to
// fall back on. True when playing was started.
PLATFORM_EXPORT bool sndPlaySoundA(const QString& file, quint32 flags);
// The same for a file name (SND_FILENAME); the module argument is not used.
PLATFORM_EXPORT bool PlaySoundA(const QString& file, qint32 module, quint32 flags);

} // namespace platform
