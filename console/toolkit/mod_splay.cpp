#include "console/toolkit/mod_splay.h"

#include "platform/shell/Sound.h"

void SPlay(const QString& file) {
    platform::sndPlaySoundA(file, platform::SND_ASYNC | platform::SND_NODEFAULT);
}
