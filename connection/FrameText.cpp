#include "connection/FrameText.h"

namespace FrameText {

QStringList Analyse(const QString& line) {
    QStringList parts;
    qsizetype pos = 0;
    // The next word from `pos`, and `pos` past the blank after it.
    const auto nextWord = [&line, &pos] {
        const qsizetype blank = line.indexOf(u' ', pos);
        const qsizetype end = blank < 0 ? line.size() : blank;
        const QString word = line.mid(pos, end - pos);
        pos = end + 1;
        return word;
    };
    if (line.startsWith(u':')) {
        parts << QStringLiteral(":");
        pos = 1;
        parts << nextWord();
    }
    while (pos < line.size() || parts.isEmpty()) {
        if (line.mid(pos, 1) == u":") {
            parts << line.mid(pos + 1);
            break;
        }
        parts << nextWord();
    }
    return parts;
}

QString GetNick(const QString& mask) {
    const qsizetype bang = mask.indexOf(u'!');
    return bang < 0 ? mask : mask.left(bang);
}

} // namespace FrameText
