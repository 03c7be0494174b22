#pragma once
// How the frame's event handlers read the settings: by key, and a flag as
// on only when it reads "1".

#include "core/Palette.h"
#include "core/Program.h"

#include <QLatin1String>
#include <QString>

namespace events {

inline QString setting(const Program& p, const char* key) {
    return p.settings.value(QLatin1String(key));
}

inline bool isOn(const Program& p, const char* key) {
    return setting(p, key) == u"1";
}

// A colour setting's palette index, for the note tile.
inline int colourIndex(const Program& p, const char* key) {
    return p.palette.ColorIndex(ColourNumber(setting(p, key)));
}

} // namespace events
