#include "core/Fonts.h"

#include "core/FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

#include <algorithm>

namespace {

QString installedFamily(const QString& face) {
    return ResolveFontFamily(face, QFontDatabase::families());
}

} // namespace

QString FontFamilyFor(const QString& face) {
    const QString family = installedFamily(face);
    return family.isEmpty() ? face : family;
}

QStringList ScreenFontNames() {
    const QStringList installed = QFontDatabase::families();
    QStringList names = installed;
    for (const QString& face : SubstitutedFaces()) {
        const bool listed = names.contains(face, Qt::CaseInsensitive);
        if (!listed && !ResolveFontFamily(face, installed).isEmpty())
            names.append(face);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

bool FontExists(const QString& name) {
    return !installedFamily(name).isEmpty();
}

void CheckFont(const QString& name, const std::function<void(const QString&)>& show) {
    if (!FontExists(name) && show)
        show(QStringLiteral("Error: Font not found '") + name);
}

void SetFontFace(QWidget& widget, const QString& face) {
    QFont font = widget.font();
    font.setFamily(FontFamilyFor(face));
    widget.setFont(font);
}
