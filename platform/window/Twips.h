#pragma once
// Files and code keep positions and sizes in twips; widgets want pixels.

#include "platform_export.h"

namespace platform {

PLATFORM_EXPORT int TwipsPerPixelX();
PLATFORM_EXPORT int TwipsPerPixelY();
PLATFORM_EXPORT int TwipsToPixelsX(int twips);
PLATFORM_EXPORT int TwipsToPixelsY(int twips);
PLATFORM_EXPORT int PixelsToTwipsX(int pixels);
PLATFORM_EXPORT int PixelsToTwipsY(int pixels);

} // namespace platform
