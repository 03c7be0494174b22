#include "console/toolkit/CSpecialFolder.h"

#include "platform/shell/SpecialFolder.h"

QString CSpecialFolder::GetSpecialFolderPath() const {
    QString path;
    if (!platform::SHGetSpecialFolderPathA(0, &path, m_specialFolder, false))
        return QString();
    return path;
}
