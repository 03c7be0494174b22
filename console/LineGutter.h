#pragma once
// The console's line-number gutter: a strip that is cleared and printed on,
// one text per line from the top, in its own font and colours.

#include <QStringList>
#include <QWidget>

class LineGutter : public QWidget {
    Q_OBJECT
public:
    explicit LineGutter(QWidget* parent = nullptr);

    // Colours as the program stores them (RGB numbers or system colours).
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 colour);
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 colour);

    void Cls();
    void Print(const QString& text);
    // What has been printed since the last Cls, one entry per line.
    const QStringList& printedLines() const { return m_lines; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qint32 m_foreColor;
    qint32 m_backColor;
    QStringList m_lines;
};
