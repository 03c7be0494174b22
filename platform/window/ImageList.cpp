#include "platform/window/ImageList.h"

#include <QHash>

namespace platform {

namespace {

struct IconTable {
    QHash<HICON, QIcon> icons;
    QHash<qint64, HICON> byKey;
    HICON next = 1;
};

IconTable& table() {
    static IconTable t;
    return t;
}

} // namespace

HICON IconHandle(const QIcon& icon) {
    if (icon.isNull())
        return 0;
    IconTable& t = table();
    const qint64 key = icon.cacheKey();
    if (const auto it = t.byKey.constFind(key); it != t.byKey.cend())
        return it.value();
    const HICON handle = t.next++;
    t.icons.insert(handle, icon);
    t.byKey.insert(key, handle);
    return handle;
}

QIcon IconFromHandle(HICON handle) {
    return table().icons.value(handle);
}

ImageList::ImageList(const QStringList& files) {
    for (const QString& file : files) {
        const QIcon picture(file);
        m_pictures.append(picture);
        m_handles.append(IconHandle(picture));
    }
}

QIcon ImageList::Picture(int index) const {
    return index >= 1 && index <= Count() ? m_pictures.at(index - 1) : QIcon();
}

HICON ImageList::Handle(int index) const {
    return index >= 1 && index <= Count() ? m_handles.at(index - 1) : 0;
}

int ImageList::indexOfHandle(HICON handle) const {
    if (handle == 0)
        return 0;
    return static_cast<int>(m_handles.indexOf(handle)) + 1;
}

} // namespace platform
