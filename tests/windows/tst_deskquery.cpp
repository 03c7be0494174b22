// A query detached onto the desktop: the two ways to detach, the tag pair,
// putting it back and detaching again, its place on the screen, its closing, its
// position file, its system-menu items, the lines typed in it, the whole
// conversation in whichever window shows it across the switches, and the
// popups and looks that reach it while detached.

#include "config/frm_popups.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "core/mod_set.h"
#include "platform/popup/AGPopUp.h"
#include "platform/richedit/OleColor.h"
#include "platform/window/SystemMenu.h"
#include "platform/window/Twips.h"
#include "sysmenu/Sysdeck.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/DetachMenuProc.h"
#include "windows/WindowLog.h"
#include "windows/frm_desk_query.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QDir>
#include <QMdiArea>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QToolButton>

using namespace platform;

namespace {

constexpr int kQueryText = 0x0000FF; // red, as an RGB number

} // namespace

class TestDeskQuery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void detach_data();
    void detach();
    void desktopItemPutsItBackAndDetachAgainReusesIt();
    void theShownWindowHoldsTheWholeConversation_data();
    void theShownWindowHoldsTheWholeConversation();
    void theHiddenTwinDetachesNothing();
    void firstPlace_data();
    void firstPlace();
    void placeIsKeptOnTheScreen_data();
    void placeIsKeptOnTheScreen();
    void controlsStayClearOfTheMenuButton();
    void close_data();
    void close();
    void positionFileNeverLandsOnTheProgramsOwn_data();
    void positionFileNeverLandsOnTheProgramsOwn();
    void customTranslucency_data();
    void customTranslucency();
    void translucentAndOnTopToggle_data();
    void translucentAndOnTopToggle();
    void frameItemsStillWorkAfterDetaching();
    void ownLinesAreShownLoggedOnceAndNotCounted();
    void linesCountOnlyWhileTheDesktopWindowIsNotActive();
    void newDesktopWindowHasAnEmptyHistory();
    void popupItemAddedWhileDetachedReachesIt();
    void queryLookSetWhileDetachedReachesIt();

private:
    frm_query* query(const QString& nick);
    frm_desk_query* deskOf(const QString& nick) {
        const int index = FindForm(*m_w.p, u'?' + nick);
        return index < 0 ? nullptr : qobject_cast<frm_desk_query*>(m_w.p->forms().at(index));
    }
    static void detach(frm_query* q) { SendMessageA(q->hwnd(), WM_SYSCOMMAND, IDM_DETACH, 0); }
    static void pick(frm_desk_query* desk, int id) {
        SendMessageA(desk->hwnd(), WM_SYSCOMMAND, WPARAM(id), 0);
    }
    int desktopWindows() {
        int n = 0;
        for (Form* form : m_w.p->forms())
            n += qobject_cast<frm_desk_query*>(form) != nullptr;
        return n;
    }
    QStringList panelTexts() {
        QStringList texts;
        const SwitchBar* bar = m_w.p->mainFrame().StatusBar1;
        for (int i = 1; i <= bar->Count(); ++i)
            texts << bar->Panel(i)->Text();
        return texts;
    }
    QString file(const QString& name) { return m_w.folder->file(name); }
    // The window that carries the conversation of `nick`.
    ConversationForm* conversation(const QString& nick) {
        const int index = FindForm(*m_w.p, u'?' + nick);
        return index < 0 ? nullptr : qobject_cast<ConversationForm*>(m_w.p->forms().at(index));
    }
    static QStringList lines(const absRichEdit& console) {
        return console.Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    // A private message from bob, as the server relays it.
    void bobSays(const QString& text) {
        m_w.peer->sendLine(":bob!u@host PRIVMSG me :" + text.toUtf8());
        QTRY_COMPARE(WindowFixture::lastLine(*conversation(QStringLiteral("bob"))->console),
                     QStringLiteral("<bob> ") + text);
    }

    WindowFixture m_w;
};

void TestDeskQuery::init() {
    m_w.start();
    QDir().mkpath(file(QStringLiteral("logs")));
    m_w.p->settings.setValue(QStringLiteral("WIN_QUERY_CONSOLE_FORECOLOR"),
                             QString::number(kQueryText));
}

void TestDeskQuery::cleanup() {
    m_w.stop();
}

frm_query* TestDeskQuery::query(const QString& nick) {
    auto* q = new frm_query(*m_w.p);
    q->setTag(u'?' + nick);
    q->setCaption(nick + QStringLiteral(" (u@host)"));
    m_w.p->mainFrame().AddPanel(q->Tag(), 5);
    q->Show();
    return q;
}

void TestDeskQuery::detach_data() {
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("&Detach") << true;
    QTest::newRow("window normal detach") << false;
}

void TestDeskQuery::detach() {
    QFETCH(bool, byMenu);
    frm_query* q = query(QStringLiteral("bob"));
    m_w.p->serverWindow().Show(); // another window active: the lines are unread
    q->disp(QStringLiteral("<bob> one"), false, QStringLiteral("255"));
    q->disp(QStringLiteral("<bob> two"));
    QCOMPARE(q->mwait(), 2);

    if (byMenu)
        detach(q);
    else
        ExecCommand(*m_w.p, QStringLiteral("window normal detach ?bob"));

    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    QVERIFY(desk->isVisible());
    QVERIFY(desk->isWindow());
    QCOMPARE(desk->Tag(), QStringLiteral("?bob"));
    QCOMPARE(desk->Caption(), QStringLiteral("bob (u@host)"));
    QCOMPARE(q->Tag(), QStringLiteral("??bob"));
    QVERIFY(!q->Visible());
    QCOMPARE(q->mwait(), 0);
    // The text came over plain, all in the query's text colour.
    QCOMPARE(desk->console->Text(), q->console->Text());
    desk->console->setSelStart(0);
    desk->console->setSelLength(desk->console->FileSize());
    QCOMPARE(desk->console->SelColor(), kQueryText);
    // Its own items, "Desktop" ticked.
    QVERIFY(desk->Sysdeck1->GetSysMenuCheck(frm_desk_query::IDM_DESKTOP));
    QVERIFY(!desk->Sysdeck1->GetSysMenuCheck(frm_desk_query::IDM_ONTOP));
    QCOMPARE(desk->Sysdeck1->GetMenuCaption(frm_desk_query::IDM_CUSTOM_TRANSLUCENCY),
             QStringLiteral("Custom Translucency"));
    // The conversation's panel stays and now stands for the desktop window.
    QCOMPARE(panelTexts(), (QStringList{"Server", "?bob"}));
}

void TestDeskQuery::desktopItemPutsItBackAndDetachAgainReusesIt() {
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    desk->Move(1500, 1200, 6000, 4500);
    desk->disp(QStringLiteral("<bob> on the desktop"));
    desk->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk));

    pick(desk, frm_desk_query::IDM_DESKTOP);
    QCOMPARE(m_w.folder->read(QStringLiteral("bob.win")), QByteArray("1500,1200,4500,6000\r\n"));
    QCOMPARE(q->Tag(), QStringLiteral("?bob"));
    QVERIFY(q->Visible());
    QCOMPARE(desk->Tag(), QStringLiteral("??bob"));
    QVERIFY(!desk->isVisible());
    QCOMPARE(FindForm(*m_w.p, QStringLiteral("?bob")), m_w.p->forms().indexOf(q));
    // The conversation's panel is the pressed one, the window it stands for
    // being the one shown.
    const SwitchBar* bar = m_w.p->mainFrame().StatusBar1;
    QCOMPARE(bar->Panel(FindPanel(*m_w.p, QStringLiteral("?bob")))->bevel(),
             int(SwitchBarPanel::sbrInset));
    QCOMPARE(bar->Panel(1)->bevel(), int(SwitchBarPanel::sbrRaised));
    // A late word of the hidden window's activation changes none of that.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(desk, &activate);
    QCOMPARE(bar->Panel(FindPanel(*m_w.p, QStringLiteral("?bob")))->bevel(),
             int(SwitchBarPanel::sbrInset));

    detach(q);
    QCOMPARE(deskOf(QStringLiteral("bob")), desk);
    QCOMPARE(desktopWindows(), 1);
    QVERIFY(desk->isVisible());
    QCOMPARE(q->Tag(), QStringLiteral("??bob"));
    QCOMPARE(WindowFixture::lastLine(*desk->console), QStringLiteral("<bob> on the desktop"));
}

void TestDeskQuery::theShownWindowHoldsTheWholeConversation_data() {
    QTest::addColumn<QStringList>("steps");
    // "bob: text" and "me: text" are lines said by bob and typed by the user
    // in the window shown; "clear" is /clear typed there; "close" closes the
    // window shown and "pick" clicks the conversation's panel.
    const QStringList detached{"detach", "bob: one", "me: two"};
    const QStringList putBack = detached + QStringList{"put back", "bob: three"};
    QTest::newRow("detached") << QStringList{"detach"};
    QTest::newRow("a line from bob on the desktop") << QStringList{"detach", "bob: one"};
    QTest::newRow("an own line on the desktop") << detached;
    QTest::newRow("put back") << detached + QStringList{"put back"};
    QTest::newRow("a line from bob after the put-back") << putBack;
    QTest::newRow("detached again") << putBack + QStringList{"detach"};
    QTest::newRow("an own line after detaching again")
        << putBack + QStringList{"detach", "me: four"};
    QTest::newRow("put back twice") << putBack + QStringList{"detach", "bob: four", "put back"};
    QTest::newRow("cleared on the desktop, then put back")
        << QStringList{"detach", "bob: one", "clear", "bob: x", "put back"};
    QTest::newRow("closed after the put-back, its panel picked")
        << putBack + QStringList{"close", "pick"};
}

void TestDeskQuery::theShownWindowHoldsTheWholeConversation() {
    QFETCH(QStringList, steps);
    m_w.p->settings.setValue(QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    frm_query* q = query(QStringLiteral("bob"));
    bobSays(QStringLiteral("hello"));
    QStringList shown{"<bob> hello"};
    QStringList said = shown;

    for (const QString& step : std::as_const(steps)) {
        ConversationForm* window = conversation(QStringLiteral("bob"));
        QVERIFY2(window, qPrintable(step));
        if (step.startsWith(u"bob: ")) {
            bobSays(step.mid(5));
            shown << QStringLiteral("<bob> ") + step.mid(5);
        } else if (step.startsWith(u"me: ")) {
            WindowFixture::enter(*window, step.mid(4));
            shown << QStringLiteral("<me> ") + step.mid(4);
        } else if (step == u"clear") {
            WindowFixture::enter(*window, QStringLiteral("/clear"));
            shown.clear();
            continue;
        } else if (step == u"detach") {
            detach(q);
            continue;
        } else if (step == u"put back") {
            pick(qobject_cast<frm_desk_query*>(window), frm_desk_query::IDM_DESKTOP);
            continue;
        } else if (step == u"close") {
            window->requestClose();
            QVERIFY(!m_w.p->forms().contains(q));
            // The panel stays: it stands for the desktop window now.
            QCOMPARE(panelTexts(), (QStringList{"Server", "?bob"}));
            continue;
        } else if (step == u"pick") {
            SwitchBar* bar = m_w.p->mainFrame().StatusBar1;
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->Panel(2)->geometry().center());
            continue;
        }
        said << shown.constLast();
    }

    ConversationForm* window = conversation(QStringLiteral("bob"));
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(lines(*window->console), shown);
    // Each line is logged once, by the window that showed it first.
    WindowLog::writePending();
    QCOMPARE(m_w.folder->read(QStringLiteral("logs/bob.log")),
             (said.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

void TestDeskQuery::theHiddenTwinDetachesNothing() {
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    ExecCommand(*m_w.p, QStringLiteral("window normal detach ??bob"));
    detach(q);
    QCOMPARE(desktopWindows(), 1);
    QCOMPARE(q->Tag(), QStringLiteral("??bob"));
    QCOMPARE(deskOf(QStringLiteral("bob"))->Tag(), QStringLiteral("?bob"));
}

void TestDeskQuery::firstPlace_data() {
    QTest::addColumn<QByteArray>("positionFile");
    QTest::addColumn<bool>("fromFile");
    QTest::addColumn<bool>("shown");

    QTest::newRow("no file: where the query is") << QByteArray() << false << true;
    QTest::newRow("the file's place") << QByteArray("1500,1200,4500,6000\r\n") << true << true;
    QTest::newRow("three numbers: where the query is")
        << QByteArray("1500,1200,4500\r\n") << false << true;
    QTest::newRow("not numbers: where the query is") << QByteArray("a,b,c,d\r\n") << false << true;
    QTest::newRow("no height: where the query is")
        << QByteArray("1500,1200,0,6000\r\n") << false << true;
    QTest::newRow("never shown: where it would first appear") << QByteArray() << false << false;
    QTest::newRow("never shown: the file's place")
        << QByteArray("1500,1200,4500,6000\r\n") << true << false;
}

void TestDeskQuery::firstPlace() {
    QFETCH(QByteArray, positionFile);
    QFETCH(bool, fromFile);
    QFETCH(bool, shown);
    if (!positionFile.isEmpty())
        m_w.folder->write(QStringLiteral("bob.win"), positionFile);
    // A frame that fits the screen, with room above it for the title bar.
    frm_main& frame = m_w.p->mainFrame();
    frame.setGeometry(60, 60, 600, 450);
    QRect place;
    frm_query* q = nullptr;
    if (shown) {
        q = query(QStringLiteral("bob"));
        q->Move(600, 450, 7500, 5250);
        // The conversation's own area, on the screen.
        place = QRect(q->mapToGlobal(QPoint(0, 0)), q->size());
        QVERIFY(place.width() < TwipsToPixelsX(7500));
    } else {
        // A message opens the query, which stays unshown until its panel is
        // picked.
        m_w.peer->sendLine(":bob!u@host PRIVMSG me :hi");
        QTRY_VERIFY(conversation(QStringLiteral("bob")));
        q = qobject_cast<frm_query*>(conversation(QStringLiteral("bob")));
        QVERIFY(q);
        QVERIFY(!q->Visible());
        place = QRect(frame.mdiArea()->viewport()->mapToGlobal(
                          QPoint(TwipsToPixelsX(100), TwipsToPixelsY(100))),
                      QSize(frame.width() * 85 / 100, frame.height() * 75 / 100));
    }
    detach(q);
    const frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    const QRect expected =
        fromFile ? QRect(1500, 1200, 6000, 4500)
                 : QRect(PixelsToTwipsX(place.x()), PixelsToTwipsY(place.y()),
                         PixelsToTwipsX(place.width()), PixelsToTwipsY(place.height()));
    QCOMPARE(QRect(desk->Left(), desk->Top(), desk->Width(), desk->Height()), expected);
}

void TestDeskQuery::placeIsKeptOnTheScreen_data() {
    QTest::addColumn<QByteArray>("positionFile");
    QTest::addColumn<bool>("fits");

    QTest::newRow("never shown, in a frame larger than the screen") << QByteArray() << false;
    QTest::newRow("above and left of the screen") << QByteArray("-30000,-30000,4500,6000") << true;
    QTest::newRow("below and right of the screen") << QByteArray("90000,90000,4500,6000") << true;
    QTest::newRow("its title bar above the top edge") << QByteArray("1500,0,4500,6000") << true;
    QTest::newRow("larger than the screen") << QByteArray("-600,-600,90000,90000") << false;
}

void TestDeskQuery::placeIsKeptOnTheScreen() {
    QFETCH(QByteArray, positionFile);
    QFETCH(bool, fits);
    if (!positionFile.isEmpty())
        m_w.folder->write(QStringLiteral("bob.win"), positionFile + "\r\n");
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    m_w.p->mainFrame().setGeometry(screen.x(), screen.y(), screen.width() * 3 / 2,
                                   screen.height() * 3 / 2);
    m_w.peer->sendLine(":bob!u@host PRIVMSG me :hi");
    QTRY_VERIFY(conversation(QStringLiteral("bob")));
    ExecCommand(*m_w.p, QStringLiteral("window normal detach ?bob"));
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    QVERIFY(desk->isVisible());

    // Before the window is mapped its frame is not known: room is left for a
    // title bar at the least.
    QStyleOptionTitleBar option;
    option.initFrom(desk);
    const int titleBar = desk->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, desk);
    QVERIFY(titleBar > 0);
    const QRect inner = desk->geometry();
    QVERIFY2(screen.contains(inner.adjusted(0, -titleBar, 0, 0)),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(inner.x())
                            .arg(inner.y())
                            .arg(inner.width())
                            .arg(inner.height())));
    QVERIFY(screen.contains(inner.marginsAdded(desk->frameExtents())));
    if (fits)
        QCOMPARE(QSize(desk->Width(), desk->Height()), QSize(6000, 4500));
    // What is saved is the place kept on the screen.
    pick(desk, frm_desk_query::IDM_DESKTOP);
    const QByteArray saved = QStringLiteral("%1,%2,%3,%4\r\n")
                                 .arg(desk->Left())
                                 .arg(desk->Top())
                                 .arg(desk->Height())
                                 .arg(desk->Width())
                                 .toUtf8();
    QCOMPARE(m_w.folder->read(QStringLiteral("bob.win")), saved);
}

void TestDeskQuery::controlsStayClearOfTheMenuButton() {
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    const auto* button = desk->findChild<QToolButton*>(QStringLiteral("systemMenuButton"));
    QVERIFY(button);
    desk->Move(1500, 1200, 6000, 4500);
    QTRY_VERIFY(desk->console->geometry().top() > button->geometry().bottom());
    QVERIFY(desk->commandline->geometry().top() >= desk->console->geometry().bottom());
    QVERIFY(desk->commandline->geometry().bottom() < desk->height());
    QCOMPARE(desk->console->width(), TwipsToPixelsX(6000 - 100));

    // No higher than 1000 twips, the controls stay where they are.
    const QRect console = desk->console->geometry();
    desk->Move(1500, 1200, 4000, 990);
    QTRY_COMPARE(desk->height(), TwipsToPixelsY(990));
    QCOMPARE(desk->console->geometry(), console);
}

void TestDeskQuery::close_data() {
    QTest::addColumn<bool>("putBackFirst");
    QTest::newRow("visible: the conversation ends") << false;
    QTest::newRow("hidden: only itself") << true;
}

void TestDeskQuery::close() {
    QFETCH(bool, putBackFirst);
    query(QStringLiteral("ann"));
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    if (putBackFirst)
        pick(desk, frm_desk_query::IDM_DESKTOP);

    desk->requestClose();
    QVERIFY(!m_w.p->forms().contains(desk));
    QCOMPARE(m_w.p->forms().contains(q), putBackFirst);
    QCOMPARE(panelTexts(), putBackFirst ? (QStringList{"Server", "?ann", "?bob"})
                                        : (QStringList{"Server", "?ann"}));
}

void TestDeskQuery::positionFileNeverLandsOnTheProgramsOwn_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("written");
    QTest::newRow("server") << "server"
                            << "_server.win";
    QTest::newRow("main, in capitals") << "MAIN"
                                       << "_MAIN.win";
}

void TestDeskQuery::positionFileNeverLandsOnTheProgramsOwn() {
    QFETCH(QString, nick);
    QFETCH(QString, written);
    const QByteArray own("\"WIN_STATE\",\"0\"\r\n");
    m_w.folder->write(QStringLiteral("server.win"), own);
    m_w.folder->write(QStringLiteral("main.win"), own);
    frm_query* q = query(nick);
    detach(q);
    frm_desk_query* desk = deskOf(nick);
    QVERIFY(desk);
    desk->Move(1500, 1200, 6000, 4500);
    pick(desk, frm_desk_query::IDM_DESKTOP);
    QCOMPARE(m_w.folder->read(QStringLiteral("server.win")), own);
    QCOMPARE(m_w.folder->read(QStringLiteral("main.win")), own);
    QCOMPARE(m_w.folder->read(written), QByteArray("1500,1200,4500,6000\r\n"));
}

void TestDeskQuery::customTranslucency_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<int>("alpha");

    QTest::newRow("200") << "200" << true << 200;
    QTest::newRow("1") << "1" << true << 1;
    QTest::newRow("255") << "255" << true << 255;
    QTest::newRow("0") << "0" << false << 255;
    QTest::newRow("256") << "256" << false << 255;
    QTest::newRow("no number") << "abc" << false << 255;
    QTest::newRow("empty") << "" << false << 255;
    QTest::newRow("12.5 to even") << "12.5" << true << 12;
    QTest::newRow("13.5 to even") << "13.5" << true << 14;
    QTest::newRow("0.6 below the range before rounding") << "0.6" << false << 255;
    QTest::newRow("255.4 above the range before rounding") << "255.4" << false << 255;
    QTest::newRow("leading number") << "90 please" << true << 90;
}

void TestDeskQuery::customTranslucency() {
    QFETCH(QString, answer);
    QFETCH(bool, applied);
    QFETCH(int, alpha);
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    ScriptedAnswerer answers;
    answers.queueInput(answer);
    pick(desk, frm_desk_query::IDM_CUSTOM_TRANSLUCENCY);

    QCOMPARE(answers.requests().size(), 1);
    const DialogRequest& asked = answers.requests().constFirst();
    QCOMPARE(asked.kind, DialogRequest::InputBox);
    QCOMPARE(asked.prompt, QStringLiteral("Enter translucency between 1 (very transparent) and "
                                          "255 (less transparent)"));
    QCOMPARE(asked.title, QStringLiteral("Enter transparency"));
    QCOMPARE(asked.defaultText, QStringLiteral("160"));
    QCOMPARE(desk->windowOpacity(), alpha / 255.0);
    QCOMPARE(desk->Sysdeck1->GetSysMenuCheck(frm_desk_query::IDM_TRANSLUCENT), applied);
}

void TestDeskQuery::translucentAndOnTopToggle_data() {
    QTest::addColumn<int>("item");
    QTest::newRow("Translucent") << frm_desk_query::IDM_TRANSLUCENT;
    QTest::newRow("Always On Top") << frm_desk_query::IDM_ONTOP;
}

void TestDeskQuery::translucentAndOnTopToggle() {
    QFETCH(int, item);
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    const auto state = [&] {
        return item == frm_desk_query::IDM_ONTOP
                   ? bool(desk->windowFlags() & Qt::WindowStaysOnTopHint)
                   : desk->windowOpacity() < 1.0;
    };
    for (const bool on : {true, false}) {
        pick(desk, item);
        QCOMPARE(desk->Sysdeck1->GetSysMenuCheck(qint16(item)), on);
        QCOMPARE(state(), on);
        if (on && item == frm_desk_query::IDM_TRANSLUCENT)
            QCOMPARE(desk->windowOpacity(), 160 / 255.0);
    }
    // The frame is not moved by the window's own item.
    QVERIFY(!(m_w.p->mainFrame().windowFlags() & Qt::WindowStaysOnTopHint));
}

void TestDeskQuery::frameItemsStillWorkAfterDetaching() {
    frm_query* ann = query(QStringLiteral("ann"));
    frm_query* bob = query(QStringLiteral("bob"));
    detach(ann);
    detach(bob);
    QCOMPARE(desktopWindows(), 2);
    frm_main& frame = m_w.p->mainFrame();
    SendMessageA(frame.hwnd(), WM_SYSCOMMAND, 100, 0);
    QVERIFY(frame.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(m_w.p->settings.value(QStringLiteral("MAINFORM_ONTOP")), QStringLiteral("TRUE"));
    // Both desktop windows' items report, the first one's too.
    for (const QString& nick : {QStringLiteral("bob"), QStringLiteral("ann")}) {
        frm_desk_query* desk = deskOf(nick);
        pick(desk, frm_desk_query::IDM_TRANSLUCENT);
        QVERIFY2(desk->Sysdeck1->GetSysMenuCheck(frm_desk_query::IDM_TRANSLUCENT),
                 qPrintable(nick));
    }
}

void TestDeskQuery::ownLinesAreShownLoggedOnceAndNotCounted() {
    m_w.p->settings.setValue(QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    m_w.p->serverWindow().Show();
    m_w.p->mainFrame().activateWindow(); // the desktop window is not the active one
    const QString twinText = q->console->Text();

    const QByteArrayList sent = m_w.sentBy([&] { WindowFixture::enter(*desk, "hello bob"); });
    QCOMPARE(sent, QByteArrayList{"PRIVMSG bob :hello bob"});
    QCOMPARE(WindowFixture::lastLine(*desk->console), QStringLiteral("<me> hello bob"));
    QCOMPARE(q->console->Text(), twinText);
    QCOMPARE(m_w.folder->read(QStringLiteral("logs/bob.log")), QByteArray("<me> hello bob\r\n"));
    QCOMPARE(desk->mwait(), 0);
    QCOMPARE(q->mwait(), 0);
}

void TestDeskQuery::linesCountOnlyWhileTheDesktopWindowIsNotActive() {
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    const SwitchBarPanel* panel = m_w.p->mainFrame().StatusBar1->Panel(2);

    desk->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk));
    desk->disp(QStringLiteral("<bob> read at once"));
    QCOMPARE(desk->mwait(), 0);

    m_w.p->mainFrame().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&m_w.p->mainFrame()));
    desk->disp(QStringLiteral("<bob> one"));
    desk->disp(QStringLiteral("<bob> two"));
    QCOMPARE(desk->mwait(), 2);
    QCOMPARE(panel->ToolTipText(), QStringLiteral("bob(2 messages waiting.)"));

    desk->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(desk));
    QCOMPARE(desk->mwait(), 0);
    QCOMPARE(panel->ToolTipText(), QStringLiteral("bob ..no messages waiting."));
    QCOMPARE(panel->bevel(), int(SwitchBarPanel::sbrInset));
}

void TestDeskQuery::newDesktopWindowHasAnEmptyHistory() {
    frm_query* q = query(QStringLiteral("bob"));
    WindowFixture::enter(*q, "/echo first");
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    QCOMPARE(WindowFixture::history(*desk), QStringList{});
    QCOMPARE(WindowFixture::history(*q), QStringList{"/echo first"});
}

void TestDeskQuery::popupItemAddedWhileDetachedReachesIt() {
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    m_w.p->popupsWindow().AddPopUp(QStringLiteral("query"), QStringLiteral("Whois"),
                                   QStringLiteral("/whois $1"));
    QCOMPARE(desk->pop_console->itemNames(), QStringList{"Whois"});
}

void TestDeskQuery::queryLookSetWhileDetachedReachesIt() {
    frm_query* q = query(QStringLiteral("bob"));
    detach(q);
    frm_desk_query* desk = deskOf(QStringLiteral("bob"));
    QVERIFY(desk);
    Setting(*m_w.p, QStringLiteral("WIN_QUERY_CONSOLE_BACKCOLOR"), QStringLiteral("4"));
    Setting(*m_w.p, QStringLiteral("WIN_QUERY_COMMAND_FORECOLOR"), QStringLiteral("2"));
    QCOMPARE(desk->console->BackColor(), m_w.p->palette.GetColor(QStringLiteral("4")));
    QCOMPARE(RgbFromColor(desk->commandline->palette().color(QPalette::Text)),
             m_w.p->palette.GetColor(QStringLiteral("2")));
}

PARLONE_TEST_MAIN(TestDeskQuery)
#include "tst_deskquery.moc"
