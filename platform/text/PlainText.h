#pragma once
// Text from a server, a peer or a file shown where Qt would guess markup (a
// tool tip): a text that looks like markup is shown as written, never
// rendered, so that an "<img>" in a nick or a description opens nothing.

#include <QString>
#include <QTextDocument>

namespace platform {

inline QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace platform
