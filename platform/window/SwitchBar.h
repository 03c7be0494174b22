#pragma once
// The frame's status bar: a row of 1-based panels, each with text, tooltip,
// picture, bevel and auto-size, and the mouse events the switcher uses.
// Qt's own status bar has neither per-panel bevels nor panel clicks.

#include "platform_export.h"

#include <QFrame>
#include <QIcon>
#include <QList>

namespace platform {

class PLATFORM_EXPORT SwitchBarPanel : public QFrame {
    Q_OBJECT
public:
    enum Bevel { sbrNoBevel = 0, sbrInset = 1, sbrRaised = 2 };
    enum AutoSize { sbrNoAutoSize = 0, sbrSpring = 1, sbrContents = 2 };

    explicit SwitchBarPanel(QWidget* parent = nullptr);

    QString Text() const { return m_text; }
    void setText(const QString& text);
    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString& tip) { setToolTip(tip); }
    QIcon Picture() const { return m_picture; }
    void setPicture(const QIcon& picture);
    int bevel() const { return m_bevel; }
    void setBevel(int bevel);
    int autoSize() const { return m_autoSize; }
    void setAutoSize(int mode);

    QSize sizeHint() const override;
    // The least width the bar squeezes the panel to: a spring shrinks down to
    // 1440 twips (its text clipped), the others keep their contents' width.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    QIcon m_picture;
    int m_bevel = sbrInset;
    int m_autoSize = sbrContents;
};

class PLATFORM_EXPORT SwitchBar : public QWidget {
    Q_OBJECT
public:
    explicit SwitchBar(QWidget* parent = nullptr);

    int Count() const { return static_cast<int>(m_panels.size()); }
    // Panel by 1-based index; nullptr when out of range.
    SwitchBarPanel* Panel(int index) const;
    // Inserts a panel at a 1-based index (at the end when the index is out of
    // range) and returns its index.
    int Add(int index = -1, const QString& text = QString());
    void Remove(int index);
    // The 1-based index of the panel under a point of the bar, 0 for none.
    int panelAt(const QPoint& pos) const;

    QSize sizeHint() const override;
    // Panels that do not fit run off the bar's right end, so the bar asks the
    // frame for no width of its own.
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // A press and release of any button over one panel.
    void PanelClick(int index);
    void PanelDblClick(int index);
    void DblClick();
    // Button 1 left, 2 right, 4 middle; shift 1 Shift + 2 Ctrl + 4 Alt;
    // the position in twips of the bar.
    void MouseDown(int button, int shift, float x, float y);
    void MouseUp(int button, int shift, float x, float y);

protected:
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Panels from the left at their widths; when they do not fit, the springs
    // give up width down to their least, and what still does not fit runs
    // off the right end, so the first panels stay whole.
    void layoutPanels();

    QList<SwitchBarPanel*> m_panels;
    int m_pressed = 0;
};

} // namespace platform
