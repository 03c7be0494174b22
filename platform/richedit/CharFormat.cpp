#include "platform/richedit/CharFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <vector>

namespace platform {

void ClearCharProperties(QTextDocument& document, int from, int to,
                         std::initializer_list<int> properties) {
    struct Piece {
        int start;
        int end;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    for (QTextBlock b = document.findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int start = qMax(from, f.position());
            const int end = qMin(to, f.position() + f.length());
            const QTextCharFormat format = f.charFormat();
            const bool has = std::any_of(properties.begin(), properties.end(),
                                         [&format](int p) { return format.hasProperty(p); });
            if (start < end && has)
                pieces.push_back({start, end, format});
        }
    }
    if (pieces.empty())
        return;
    QTextCursor edit(&document);
    edit.beginEditBlock();
    for (Piece& p : pieces) {
        QTextCursor range(&document);
        range.setPosition(p.start);
        range.setPosition(p.end, QTextCursor::KeepAnchor);
        for (const int property : properties)
            p.format.clearProperty(property);
        range.setCharFormat(p.format);
    }
    edit.endEditBlock();
}

} // namespace platform
