#pragma once
// Paths of the shell's special folders, by their classic numbers, mapped to
// this system's places (the user's folders from the desktop's settings).

#include "platform/window/Window.h"

namespace platform {

constexpr int CSIDL_DESKTOP = 0x00;
constexpr int CSIDL_PROGRAMS = 0x02;
constexpr int CSIDL_PERSONAL = 0x05;
constexpr int CSIDL_STARTUP = 0x07;
constexpr int CSIDL_STARTMENU = 0x0B;
constexpr int CSIDL_MYMUSIC = 0x0D;
constexpr int CSIDL_MYVIDEO = 0x0E;
constexpr int CSIDL_DESKTOPDIRECTORY = 0x10;
constexpr int CSIDL_FONTS = 0x14;
constexpr int CSIDL_TEMPLATES = 0x15;
constexpr int CSIDL_APPDATA = 0x1A;
constexpr int CSIDL_LOCAL_APPDATA = 0x1C;
constexpr int CSIDL_INTERNET_CACHE = 0x20;
constexpr int CSIDL_PROGRAM_FILES = 0x26;
constexpr int CSIDL_MYPICTURES = 0x27;
constexpr int CSIDL_PROFILE = 0x28;

// Fills *path with the folder's path (without a trailing separator) and
// answers true; false and "" for a number this system has no folder for. The
// folder is never created.
PLATFORM_EXPORT bool SHGetSpecialFolderPathA(HWND owner, QString* path, int folder, bool create);

} // namespace platform
