// The setup dialog and the program's boxes against a main frame that is put
// on top and back: what the window manager maps and stacks shows only on a
// real X server with one, so this runs on an Xvfb of its own with openbox.

#include "config/frm_setup.h"
#include "config/frm_sw.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/mod_kernel.h"
#include "core/mod_set.h"
#include "core/mod_startup.h"
#include "platform/dialogs/Dialogs.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/X11Probe.h"
#include "tests/support/XvfbSession.h"

#include <QApplication>
#include <QCheckBox>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {
void setOnTop(Program& p, bool on) {
    Setting(p, QStringLiteral("MAINFORM_ONTOP"),
            on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

// The visible box of a kind, if one is open.
template <typename Box> Box* openBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<Box*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// The native window a widget has now. QWidget::winId() keeps the first one
// when Qt replaces it (new window flags); the widget's QWindow knows.
WId nativeWindow(const QWidget& widget) {
    return widget.windowHandle() ? widget.windowHandle()->winId() : 0;
}

// Whether the window manager stacks `upper` above `lower`.
bool stackedAbove(const QWidget& upper, const QWidget& lower) {
    const QList<WId> order = x11probe::stacking();
    const qsizetype up = order.indexOf(nativeWindow(upper));
    const qsizetype low = order.indexOf(nativeWindow(lower));
    return up >= 0 && low >= 0 && up > low;
}

} // namespace

class TestSetupStacking : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void setupShowsAboveTheFrame_data();
    void setupShowsAboveTheFrame();
    void walkthroughAdvancedOptionsShowSetup_data();
    void walkthroughAdvancedOptionsShowSetup();
    void boxOpensAboveTheOnTopFrame_data();
    void boxOpensAboveTheOnTopFrame();

private:
    // Setup is mapped, names the frame's current native window as the one it
    // belongs to and is stacked above it.
    void verifySetupAboveTheFrame();
    frm_setup& setup() { return m_p->setupDialog(); }
    frm_main& frame() { return m_p->mainFrame(); }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestSetupStacking::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
}

void TestSetupStacking::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestSetupStacking::verifySetupAboveTheFrame() {
    QVERIFY(setup().isVisible());
    QTRY_VERIFY(setup().windowHandle()->isExposed());
    QTRY_VERIFY(x11probe::viewable(nativeWindow(setup())));
    QTRY_COMPARE(x11probe::transientFor(nativeWindow(setup())), nativeWindow(frame()));
    QTRY_VERIFY(stackedAbove(setup(), frame()));
}

void TestSetupStacking::setupShowsAboveTheFrame_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("on top toggled ten times, then /setup") << "toggled";
    QTest::newRow("on top flipped while Setup is being shown") << "flipped while showing";
    QTest::newRow("on top toggled ten times while Setup shows") << "toggled while shown";
    QTest::newRow("the frame hidden and shown again, as from the tray") << "frame hidden";
    QTest::newRow("its window lost while Qt counts it visible") << "lost";
}

void TestSetupStacking::setupShowsAboveTheFrame() {
    QFETCH(QString, before);
    frame().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    if (before == u"toggled") {
        for (int i = 0; i < 10; ++i) {
            setOnTop(*m_p, i % 2 == 0);
            QVERIFY(QTest::qWaitForWindowExposed(&frame()));
        }
    } else if (before == u"flipped while showing") {
        // Each time the dialog is asked for and the frame changes while the
        // window manager is still mapping it, a little later each time.
        for (int i = 0; i < 10; ++i) {
            setup().Hide();
            QTest::qWait(50);
            ExecCommand(*m_p, QStringLiteral("setup"));
            QTest::qWait(i * 5);
            setOnTop(*m_p, i % 2 == 0);
            QTest::qWait(100);
        }
    } else if (before == u"toggled while shown") {
        ExecCommand(*m_p, QStringLiteral("setup"));
        QVERIFY(QTest::qWaitForWindowExposed(&setup()));
        for (int i = 0; i < 10; ++i) {
            setOnTop(*m_p, i % 2 == 0);
            QVERIFY(QTest::qWaitForWindowExposed(&frame()));
        }
    } else if (before == u"lost") {
        ExecCommand(*m_p, QStringLiteral("setup"));
        QVERIFY(QTest::qWaitForWindowExposed(&setup()));
        x11probe::withdraw(nativeWindow(setup()));
        QTRY_VERIFY(!setup().windowHandle()->isExposed());
        QVERIFY(setup().isVisible());
    } else {
        setOnTop(*m_p, true);
        ExecCommand(*m_p, QStringLiteral("setup"));
        QVERIFY(QTest::qWaitForWindowExposed(&setup()));
        frame().Hide();
        QTRY_VERIFY(!x11probe::viewable(nativeWindow(frame())));
        frame().Show();
    }
    ExecCommand(*m_p, QStringLiteral("setup"));
    verifySetupAboveTheFrame();
}

void TestSetupStacking::walkthroughAdvancedOptionsShowSetup_data() {
    QTest::addColumn<bool>("onTop");
    QTest::newRow("frame not on top") << false;
    QTest::newRow("frame on top") << true;
}

// The first start of a fresh folder as the user meets it: the question, the
// walkthrough page by page, and its advanced options at the end.
void TestSetupStacking::walkthroughAdvancedOptionsShowSetup() {
    QFETCH(bool, onTop);
    m_folder->write(QStringLiteral("servers.ini"),
                    RecordFile::formatLine(
                        {QStringLiteral("127.0.0.1") + QChar(21) + QStringLiteral("6667") +
                         QChar(21) + QStringLiteral("Local") + QChar(21) + QStringLiteral("Style")})
                            .toUtf8() +
                        "\r\n");
    bool walked = false;
    QTimer driver;
    driver.setInterval(50);
    connect(&driver, &QTimer::timeout, this, [&] {
        if (auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            question->button(QMessageBox::Yes)->click();
            return;
        }
        frm_sw& walkthrough = m_p->setupWizard();
        if (walked || !walkthrough.isVisible() || !walkthrough.windowHandle()->isExposed())
            return;
        walked = true;
        walkthrough.Command1_Click();
        walkthrough.Command4_Click();
        walkthrough.Command6_Click();
        walkthrough.Check5->setChecked(onTop);
        walkthrough.Command9_Click();
        walkthrough.Command11_Click();
        walkthrough.Option3->click();
        walkthrough.Command7_Click();
    });
    driver.start();
    Main(*m_p);
    driver.stop();
    QVERIFY(walked);
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    QCOMPARE(bool(frame().windowFlags() & Qt::WindowStaysOnTopHint), onTop);
    verifySetupAboveTheFrame();
}

void TestSetupStacking::boxOpensAboveTheOnTopFrame_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("active");
    for (const char* kind : {"message box", "input box"}) {
        for (const char* active : {"frame", "another window", "none"})
            QTest::addRow("%s, %s active", kind, active) << kind << active;
    }
}

void TestSetupStacking::boxOpensAboveTheOnTopFrame() {
    QFETCH(QString, kind);
    QFETCH(QString, active);
    frame().Show();
    setOnTop(*m_p, true);
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    QWidget other;
    if (active == u"frame") {
        frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame()));
    } else if (active == u"another window") {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    } else {
        QApplication::setActiveWindow(nullptr);
        QTRY_VERIFY(QApplication::activeWindow() == nullptr);
    }

    QDialog* box = nullptr;
    if (kind == u"message box") {
        platform::ShowMsgBox(QStringLiteral("Above the frame?"));
        box = openBox<QMessageBox>();
    } else {
        platform::ShowInputBox(QStringLiteral("Above the frame?"), QString(), QString(), {});
        box = openBox<QInputDialog>();
    }
    QVERIFY(box);
    const auto close = qScopeGuard([box] { box->reject(); });
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTRY_VERIFY(x11probe::viewable(nativeWindow(*box)));
    QTRY_VERIFY(stackedAbove(*box, frame()));
}

PARLONE_XVFB_TEST_MAIN(TestSetupStacking, XvfbSession::WindowManager::Openbox)

#include "tst_setupstacking.moc"
