#include "windows/frm_note.h"

#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "console/toolkit/mod_topmost.h"
#include "core/Program.h"
#include "platform/richedit/OleColor.h"
#include "platform/window/Desktop.h"
#include "platform/window/Twips.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

using namespace platform;

frm_note::frm_note(Program& program) : Form(program, Kind::TopLevel) {
    setCaption(QStringLiteral("NoteBox"));
    // No frame, no task-bar button, never the focus.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(true);
    Label1 = new QLabel(this);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setAutoFillBackground(true);
    Label1->installEventFilter(this);
    place(0, 0, TileWidth, TileHeight);

    Timer1 = new QTimer(this);
    Timer1->setInterval(DisplayMs);
    connect(Timer1, &QTimer::timeout, this, &frm_note::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setInterval(RollUpMs);
    connect(Timer2, &QTimer::timeout, this, &frm_note::Timer2_Timer);
    Timer1->start();
    Timer2->start();
}

void frm_note::place(int left, int top, int width, int height) {
    m_height = height;
    const QSize size(TwipsToPixelsX(width), TwipsToPixelsY(height));
    // A fixed size: the tile has no frame to be sized by.
    setFixedSize(size);
    move(TwipsToPixelsX(left), TwipsToPixelsY(top));
    Label1->setGeometry(0, 0, size.width(), size.height());
}

void frm_note::Form_Load() {
    Program& p = program();
    const auto off = [&p](const char* key) { return p.settings.value(QLatin1String(key)) == u"0"; };
    if (!p.hasMainFrame() || p.mainFrame().WindowState() != vbMinimized || off("USE_TRAY") ||
        off("USE_BUDDY") || !p.ServerConnected)
        return;
    // 108 is no item of the frame's system menu: no check mark follows.
    SetTopMost(*this, true, 108);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const int screenWidth = PixelsToTwipsX(screen.width());
    const int screenHeight = PixelsToTwipsY(screen.height());
    place(screenWidth - Width(), screenHeight - Height(), Width(), Height());
    // Shown without being activated: Form::Show would take the focus.
    QWidget::show();
    Timer1->stop();
}

void frm_note::go(const QString& message, int fcol, int bcol) {
    Label1->setText(message);
    const Palette& palette = program().palette;
    QPalette colours = Label1->palette();
    if (fcol >= 0)
        colours.setColor(QPalette::WindowText,
                         ColorFromRgb(palette.GetColor(QString::number(fcol))));
    if (bcol >= 0)
        colours.setColor(QPalette::Window, ColorFromRgb(palette.GetColor(QString::number(bcol))));
    Label1->setPalette(colours);
    Timer1->start();
    Timer2->stop();
}

void frm_note::Timer1_Timer() {
    Timer2->start();
}

void frm_note::Timer2_Timer() {
    // The top edge stays; the bottom edge rises.
    place(Left(), Top(), Width(), m_height - RollUpStep);
    if (m_height < RollUpStep)
        Unload();
}

void frm_note::Label1_Click() {
    Timer1->stop();
    Timer2->stop();
    Program& p = program();
    if (p.hasMainFrame()) {
        frm_main& frame = p.mainFrame();
        frame.setWindowState(vbNormal);
        frame.Show();
        frame.setFocus();
        TrayRemove(p);
        SetForegroundWindow(frame.hwnd());
        frame.Show();
    }
    Unload();
}

bool frm_note::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Label1_Click();
        return true;
    }
    return Form::eventFilter(watched, event);
}
