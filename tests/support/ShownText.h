#pragma once
// What Qt shows of a text in a label or a tooltip: a label renders markup
// unless it is told its text is plain, and a tooltip renders whatever looks
// like markup. Tests compare it with the text itself to see that text from
// outside shows as the characters it is made of.

#include <QLabel>
#include <QTextDocument>

inline QString ShownText(const QString& text, Qt::TextFormat format = Qt::AutoText) {
    QTextDocument document;
    if (format != Qt::PlainText && (format != Qt::AutoText || Qt::mightBeRichText(text)))
        document.setHtml(text);
    else
        document.setPlainText(text);
    return document.toPlainText();
}

inline QString ShownText(const QLabel& label) {
    return ShownText(label.text(), label.textFormat());
}
