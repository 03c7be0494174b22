#include "windows/frmMain.h"

#include "connection/frm_main.h"
#include "console/toolkit/CSpecialFolder.h"
#include "console/toolkit/CWindowStyle.h"
#include "console/toolkit/mod_winx.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "platform/shell/Sound.h"
#include "platform/shell/SpecialFolder.h"
#include "platform/window/Twips.h"

#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QTimer>

#include <exception>

using namespace platform;

namespace {

// The picture behind the lines: a soft blue wash, fading to white.
QPixmap wash() {
    QPixmap picture(64, 64);
    QPainter painter(&picture);
    QLinearGradient gradient(0, 0, 0, 64);
    gradient.setColorAt(0.0, QColor(214, 228, 250));
    gradient.setColorAt(1.0, Qt::white);
    painter.fillRect(picture.rect(), gradient);
    return picture;
}

QLabel* line(QWidget* parent, double points) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    QFont font(FontFamilyFor(QStringLiteral("Verdana")));
    font.setPointSizeF(points);
    label->setFont(font);
    label->installEventFilter(parent);
    return label;
}

} // namespace

frmMain::frmMain(Program& program) : Form(program, Kind::TopLevel) {
    // No task-bar button, never the focus; the caption goes at load.
    setWindowFlags(Qt::Tool | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    Image1 = new QLabel(this);
    Image1->setPixmap(wash());
    Image1->setScaledContents(true);
    Image1->installEventFilter(this);
    Label1 = line(this, 9.75);
    Label1->setText(QStringLiteral("Client Connected"));
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette blue = Label1->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 192));
    Label1->setPalette(blue);
    Label1->setGeometry(TwipsToPixelsX(360), TwipsToPixelsY(240), TwipsToPixelsX(2115),
                        TwipsToPixelsY(1575));
    Label2 = line(this, 8.25);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignTop);
    Label2->setGeometry(0, 0, TwipsToPixelsX(975), TwipsToPixelsY(255));

    tmrUnload = new QTimer(this);
    tmrUnload->setSingleShot(true);
    tmrUnload->setInterval(ShowMs);
    connect(tmrUnload, &QTimer::timeout, this, &frmMain::Form_Unload);
    tmrUnload->start();
}

frmMain::~frmMain() = default;

RECT frmMain::WorkAreaTwips(const RECT& pixels, int twipsPerPixelX, int twipsPerPixelY) {
    return {pixels.left * twipsPerPixelX, pixels.top * twipsPerPixelY,
            pixels.right * twipsPerPixelX, pixels.bottom * twipsPerPixelY};
}

QSize frmMain::ToastSize(const RECT& work) {
    return {(work.right - work.left) / 8, (work.bottom - work.top) / 7};
}

QPoint frmMain::ToastTopLeft(const RECT& work, const QSize& size) {
    return {work.right - 200 - size.width(), work.bottom - size.height()};
}

void frmMain::place(int left, int top, int width, int height) {
    setFixedSize(TwipsToPixelsX(width), TwipsToPixelsY(height));
    move(TwipsToPixelsX(left), TwipsToPixelsY(top));
}

void frmMain::Form_Load() {
    Program& p = program();
    if (p.settings.value(QStringLiteral("USE_MSN_TRANS")) == u"1")
        MakeTranslucent(hwnd(), 170);
    // A step that fails ends the load; the toast still goes with its timer.
    try {
        m_style = std::make_unique<CWindowStyle>();
        m_style->setClient(this);
        m_style->setTitlebar(false);
        m_style->setTopMost(true);

        m_twipsPerPixelX = TwipsPerPixelX();
        m_twipsPerPixelY = TwipsPerPixelY();
        RECT pixels;
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 1, &pixels, 0))
            return;
        const RECT work = WorkAreaTwips(pixels, m_twipsPerPixelX, m_twipsPerPixelY);
        const QSize size = ToastSize(work);
        place(Left(), Top(), size.width(), size.height());
        // The size the window took, which the desktop may have bounded.
        const QSize taken(Width(), Height());
        const QPoint topLeft = ToastTopLeft(work, taken);
        place(topLeft.x(), topLeft.y(), taken.width(), taken.height());

        CSpecialFolder programFiles;
        programFiles.setSpecialFolder(CSIDL_PROGRAM_FILES);
        PlaySoundA(programFiles.GetSpecialFolderPath() + QStringLiteral("/Messenger/Online.wav"), 0,
                   SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
        // It rises from the bottom edge, without taking the focus.
        AnimateWindow(hwnd(), SlideMs, AW_SLIDE | AW_VER_NEGATIVE);
        update();
    } catch (const std::exception&) {
    }
}

void frmMain::go(const QString& intxt, const QString& intxt2) {
    Label1->setText(intxt);
    Label2->setText(intxt2);
}

void frmMain::Form_Unload() {
    if (m_leaving)
        return;
    m_leaving = true;
    tmrUnload->stop();
    m_style.reset();
    if (!isVisible() || !AnimateWindow(hwnd(), SlideMs, AW_SLIDE | AW_HIDE | AW_VER_POSITIVE)) {
        Unload();
        return;
    }
    QTimer::singleShot(SlideMs, this, &frmMain::Unload);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    const int width = PixelsToTwipsX(this->width());
    const int height = PixelsToTwipsY(this->height());
    const QRect first = Label1->geometry();
    // The first line keeps its top and stays inside the toast.
    Label1->setGeometry(TwipsToPixelsX(100), first.y(), TwipsToPixelsX(std::max(width - 200, 0)),
                        std::max(TwipsToPixelsY(height) - first.y(), 0));
    Label2->move(TwipsToPixelsX(width) - Label2->width(), 0);
    Image1->setGeometry(rect());
}

void frmMain::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Form_Unload();
    Form::mouseReleaseEvent(event);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease ||
        static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
        return Form::eventFilter(watched, event);
    if (watched == Image1) {
        Form_Unload();
        return true;
    }
    if (watched == Label1) {
        // The first line only brings the frame up; the toast stays.
        if (program().hasMainFrame())
            program().mainFrame().Show();
        return true;
    }
    return watched == Label2;
}
