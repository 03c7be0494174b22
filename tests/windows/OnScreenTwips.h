#pragma once
// Twips as a window holds them once they went through whole pixels: what a
// test reads back after giving a window a size in twips.

#include "platform/window/Twips.h"

inline int onScreenX(int twips) {
    return platform::PixelsToTwipsX(platform::TwipsToPixelsX(twips));
}
inline int onScreenY(int twips) {
    return platform::PixelsToTwipsY(platform::TwipsToPixelsY(twips));
}
