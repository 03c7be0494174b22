#include "platform/shell/SpecialFolder.h"

#include <QDir>
#include <QStandardPaths>

namespace platform {
namespace {

QString standard(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location);
}

QString folderPath(int folder) {
    switch (folder) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
        return standard(QStandardPaths::DesktopLocation);
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
        return standard(QStandardPaths::ApplicationsLocation);
    case CSIDL_PERSONAL:
        return standard(QStandardPaths::DocumentsLocation);
    case CSIDL_STARTUP:
        return standard(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
    case CSIDL_MYMUSIC:
        return standard(QStandardPaths::MusicLocation);
    case CSIDL_MYVIDEO:
        return standard(QStandardPaths::MoviesLocation);
    case CSIDL_FONTS:
        return standard(QStandardPaths::FontsLocation);
    case CSIDL_TEMPLATES:
        return QDir::homePath() + QStringLiteral("/Templates");
    case CSIDL_APPDATA:
        return standard(QStandardPaths::GenericConfigLocation);
    case CSIDL_LOCAL_APPDATA:
        return standard(QStandardPaths::GenericDataLocation);
    case CSIDL_INTERNET_CACHE:
        return standard(QStandardPaths::GenericCacheLocation);
    case CSIDL_PROGRAM_FILES:
        // Where programs that are not part of the system are installed.
        return QStringLiteral("/opt");
    case CSIDL_MYPICTURES:
        return standard(QStandardPaths::PicturesLocation);
    case CSIDL_PROFILE:
        return QDir::homePath();
    default:
        return QString();
    }
}

} // namespace

bool SHGetSpecialFolderPathA(HWND owner, QString* path, int folder, bool create) {
    Q_UNUSED(owner);
    Q_UNUSED(create);
    QString p = folderPath(folder);
    while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
        p.chop(1);
    if (path)
        *path = p;
    return !p.isEmpty();
}

} // namespace platform
