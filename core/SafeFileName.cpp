#include "core/SafeFileName.h"

#include "core/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace {

// Room under the file system's 255 bytes for a "_" in front and "_<n>".
constexpr qsizetype kMaxMappedBytes = 255 - 16;
// An extension longer than this is not kept when a name is cut.
constexpr qsizetype kMaxKeptExtensionBytes = 32;

// Characters that change how a name reads without showing themselves: the
// bidirectional controls (which can disguise an extension or turn the text
// after the name around), the invisible format characters, and the line and
// paragraph separators (which break a shown name into lines of its own). The
// zero-width non-joiner and joiner are not among them: Persian words and
// emoji sequences need them.
bool isHiddenControl(char16_t c) {
    return c == 0x061C || c == 0x200B || c == 0x200E || c == 0x200F || c == 0x2028 || c == 0x2029 ||
           (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

qsizetype utf8Length(QStringView text) {
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80)
            bytes += 1;
        else if (c < 0x800)
            bytes += 2;
        else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
                 QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes += 4;
            ++i;
        } else
            bytes += 3;
    }
    return bytes;
}

// The longest start of `text` within `maxBytes` of UTF-8, never splitting a
// surrogate pair.
QString cutToBytes(const QString& text, qsizetype maxBytes) {
    qsizetype bytes = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
        const qsizetype step = pair ? 2 : 1;
        const qsizetype add = utf8Length(QStringView(text).mid(i, step));
        if (bytes + add > maxBytes)
            break;
        bytes += add;
        i += step;
    }
    return text.left(i);
}

// Splits at the last "." that is not the first character.
void splitExtension(const QString& name, QString* stem, QString* extension) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0) {
        *stem = name;
        extension->clear();
    } else {
        *stem = name.left(dot);
        *extension = name.mid(dot);
    }
}

class ReservedNames {
public:
    explicit ReservedNames(const QStringList& names) {
        for (const QString& name : names)
            m_patterns.append(
                QRegularExpression(QRegularExpression::wildcardToRegularExpression(name),
                                   QRegularExpression::CaseInsensitiveOption));
    }
    bool matches(const QString& name) const {
        for (const QRegularExpression& pattern : m_patterns)
            if (pattern.match(name).hasMatch())
                return true;
        return false;
    }

private:
    QList<QRegularExpression> m_patterns;
};

} // namespace

QStringList ProgramFixedFiles() {
    return {
        QStringLiteral("settings.ini"), QStringLiteral("popups.ini"), QStringLiteral("servers.ini"),
        QStringLiteral("main.win"),     QStringLiteral("server.win"), QStringLiteral("notify.win"),
        QStringLiteral("alias.win"),    QStringLiteral("popups.win"), QStringLiteral("help.exe"),
        QStringLiteral("parlone"),      QStringLiteral("*.so"),       QStringLiteral("*.so.*"),
        QStringLiteral("logs"),         QStringLiteral("cmd")};
}

QStringList ProgramOwnFiles() {
    return ProgramFixedFiles() << QStringLiteral("*.win") << QStringLiteral("*.app");
}

QStringList LogFolderFiles() {
    return {QStringLiteral("server.log")};
}

QStringList CmdFolderFiles() {
    return {QStringLiteral("startup.ini")};
}

QStringList ReceivedFileReserved(const QString& programFolder, const QString& folder) {
    // Links and "." or ".." in either path lead to the same place.
    const auto place = [](const QString& path) {
        const QFileInfo info(path);
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
    };
    const QString target = place(folder);
    if (target == place(programFolder))
        return ProgramOwnFiles();
    if (target == place(FindPathNoCase(programFolder, QStringLiteral("cmd"))))
        return CmdFolderFiles();
    if (target == place(FindPathNoCase(programFolder, QStringLiteral("logs"))))
        return LogFolderFiles();
    return {};
}

QString SafeFileNameComponent(const QString& name) {
    QString mapped = name.trimmed();
    for (qsizetype i = 0; i < mapped.size(); ++i) {
        const char16_t c = mapped[i].unicode();
        bool replace = c == u'/' || c == u'\\' || mapped[i].category() == QChar::Other_Control ||
                       isHiddenControl(c);
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < mapped.size() && mapped[i + 1].isLowSurrogate())
                ++i;
            else
                replace = true;
        } else if (QChar::isLowSurrogate(c))
            replace = true;
        if (replace)
            mapped[i] = u'_';
    }
    if (mapped.startsWith(u'.'))
        mapped[0] = u'_';

    if (utf8Length(mapped) > kMaxMappedBytes) {
        QString stem;
        QString extension;
        splitExtension(mapped, &stem, &extension);
        if (utf8Length(extension) > kMaxKeptExtensionBytes) {
            stem = mapped;
            extension.clear();
        }
        mapped = cutToBytes(stem, kMaxMappedBytes - utf8Length(extension)) + extension;
    }
    return mapped;
}

QString SafeFileName(const QString& folder, const QString& name, const QStringList& reservedNames,
                     IfExists ifExists) {
    QString candidate = SafeFileNameComponent(name);
    if (candidate.isEmpty())
        return QString();

    const ReservedNames reserved(reservedNames);
    if (reserved.matches(candidate)) {
        candidate.prepend(u'_');
        // A whole kind of file is reserved ("*.win"): the name loses its dots.
        if (reserved.matches(candidate))
            candidate.replace(u'.', u'_');
        if (reserved.matches(candidate))
            return QString();
    }

    if (ifExists == IfExists::NewName) {
        QSet<QString> taken;
        const QStringList entries =
            QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& entry : entries)
            taken.insert(entry.toLower());
        if (taken.contains(candidate.toLower())) {
            QString stem;
            QString extension;
            splitExtension(candidate, &stem, &extension);
            // One of the first entries + 1 numbers is free; the reserved list
            // may rule out a few more.
            const qsizetype tries = entries.size() + 1 + 64;
            QString next;
            for (qsizetype n = 1; n <= tries && next.isEmpty(); ++n) {
                const QString numbered = stem + u'_' + QString::number(n) + extension;
                if (!taken.contains(numbered.toLower()) && !reserved.matches(numbered))
                    next = numbered;
            }
            if (next.isEmpty())
                return QString();
            candidate = next;
        }
    }

    if (folder.isEmpty())
        return candidate;
    return folder.endsWith(u'/') ? folder + candidate : folder + u'/' + candidate;
}
