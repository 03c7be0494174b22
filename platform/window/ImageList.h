#pragma once
// Pictures by number: an image list holds a form's pictures, 1-based, and
// every picture has an icon handle, a number a record can hold and the
// notification area can show.

#include "platform_export.h"

#include <QIcon>
#include <QList>
#include <QStringList>

namespace platform {

using HICON = qint64;

// The handle of an icon, registered on first use; 0 for a null icon. The
// same icon (by its cache key) keeps its handle for the run.
PLATFORM_EXPORT HICON IconHandle(const QIcon& icon);
// The icon of a handle; a null icon for 0 or an unknown handle.
PLATFORM_EXPORT QIcon IconFromHandle(HICON handle);

class PLATFORM_EXPORT ImageList {
public:
    // One picture per file, in order: the first file is picture 1.
    explicit ImageList(const QStringList& files = {});

    int Count() const { return static_cast<int>(m_pictures.size()); }
    // Picture `index` (1-based); a null icon out of range.
    QIcon Picture(int index) const;
    // The handle of picture `index`; 0 out of range.
    HICON Handle(int index) const;
    // The number of the picture whose handle is `handle`; 0 for none.
    int indexOfHandle(HICON handle) const;

private:
    QList<QIcon> m_pictures;
    QList<HICON> m_handles;
};

} // namespace platform
