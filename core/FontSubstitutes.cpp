#include "core/FontSubstitutes.h"

namespace {

struct Substitute {
    const char16_t* face;
    QStringList families;
};

QStringList monospace() {
    return {QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono")};
}
QStringList metricMonospace() {
    return {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")};
}
QStringList sans() {
    return {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
}
QStringList wideSans() {
    return {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")};
}
QStringList serif() {
    return {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
}

const QList<Substitute>& table() {
    static const QList<Substitute> substitutes = {
        {u"Fixedsys", monospace()},
        {u"Terminal", monospace()},
        {u"System", monospace()},
        {u"Lucida Console", monospace()},
        {u"Consolas", monospace()},
        {u"Courier New", metricMonospace()},
        {u"Courier", metricMonospace()},
        {u"Arial", sans()},
        {u"Helvetica", sans()},
        {u"MS Sans Serif", sans()},
        {u"Microsoft Sans Serif", sans()},
        {u"Tahoma", wideSans()},
        {u"Segoe UI", sans()},
        {u"Verdana", wideSans()},
        {u"Times New Roman", serif()},
        {u"Times", serif()},
        {u"MS Serif", serif()},
        {u"Georgia", serif()},
    };
    return substitutes;
}

QString installedSpelling(const QString& family, const QStringList& installed) {
    for (const QString& name : installed)
        if (name.compare(family, Qt::CaseInsensitive) == 0)
            return name;
    return QString();
}

} // namespace

QStringList FontSubstitutes(const QString& face) {
    const QString wanted = face.trimmed();
    for (const Substitute& s : table())
        if (wanted.compare(QStringView(s.face), Qt::CaseInsensitive) == 0)
            return s.families;
    return {};
}

QStringList SubstitutedFaces() {
    QStringList faces;
    for (const Substitute& s : table())
        faces.append(QString::fromUtf16(s.face));
    return faces;
}

QString ResolveFontFamily(const QString& face, const QStringList& installed) {
    QString family = installedSpelling(face, installed);
    if (!family.isEmpty())
        return family;
    for (const QString& substitute : FontSubstitutes(face)) {
        family = installedSpelling(substitute, installed);
        if (!family.isEmpty())
            return family;
    }
    return QString();
}
