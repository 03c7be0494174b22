#include "core/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

QString FindPathNoCase(const QString& folder, const QString& relative) {
    QString current = folder;
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString found = part;
        const QDir dir(current);
        if (!dir.exists(part)) {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
        }
        current = current.endsWith(u'/') ? current + found : current + u'/' + found;
    }
    return current;
}

QString DecodeText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

bool ReadTextFile(const QString& path, QString* text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *text = DecodeText(file.readAll());
    return true;
}
