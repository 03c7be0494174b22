#include "core/Fonts.h"

#include "core/FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QWidget>

namespace {

QString installedFamily(const QString& face) {
    return ResolveFontFamily(face, QFontDatabase::families());
}

} // namespace

QString FontFamilyFor(const QString& face) {
    const QString family = installedFamily(face);
    return family.isEmpty() ? face : family;
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
