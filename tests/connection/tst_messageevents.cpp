// A private message while the frame is minimised into the tray in buddy
// mode rebuilds the tray's tip, which then counts the query's new line; a
// message, a notice, an action to the user and a buddy coming online or
// going offline raise the tile USE_MSNTILE chooses, only in buddy mode; an
// action to a channel never does.

#include "connection/CtcpHandler.h"
#include "connection/MessageEvents.h"
#include "connection/NotifyReplies.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/FakeNotifyArea.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frmMain.h"
#include "windows/frm_note.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QLabel>
#include <QListWidget>

using namespace platform;

namespace {

enum class Event { Message, Notice, Buddy, BuddyGone, Action, ChannelAction };

} // namespace

Q_DECLARE_METATYPE(Event)

class TestMessageEvents : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buddyModeRebuildsTheTrayTip_data();
    void buddyModeRebuildsTheTrayTip();
    void alertTiles_data();
    void alertTiles();

private:
    TempProgramFolder m_folder;
};

void TestMessageEvents::buddyModeRebuildsTheTrayTip_data() {
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<QString>("useBuddy");
    QTest::addColumn<QString>("tip"); // "": the tray is left alone

    const QString tip = QStringLiteral("Status: Connected\r\nMessages: 1  bob 1\r\nOnline: None");
    QTest::newRow("buddy mode") << true << "1" << tip;
    QTest::newRow("buddy mode off") << true << "0"
                                    << "";
    QTest::newRow("buddy mode other than 1") << true << "2"
                                             << "";
    QTest::newRow("frame not minimised") << false << "1"
                                         << "";
}

void TestMessageEvents::buddyModeRebuildsTheTrayTip() {
    QFETCH(bool, minimised);
    QFETCH(QString, useBuddy);
    QFETCH(QString, tip);
    FakeNotifyArea area;
    Program p(m_folder.path());
    p.serverWindow().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.mainFrame()));
    p.ServerConnected = true;
    p.settings.setValue(QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    if (minimised)
        p.mainFrame().setWindowState(Form::vbMinimized);
    p.settings.setValue(QStringLiteral("USE_BUDDY"), useBuddy);
    area.calls.clear();

    p.mainFrame().messageEvents->Yarv1_PrivateMessage(QStringLiteral("bob!u@host"),
                                                      QStringLiteral("hi"));

    if (tip.isEmpty()) {
        QCOMPARE(area.calls.size(), 0);
        return;
    }
    QVERIFY(!area.calls.isEmpty());
    QCOMPARE(area.calls.constLast().data.szTip, tip.leftJustified(NotifyTipLength, u' ', true));
}

void TestMessageEvents::alertTiles_data() {
    QTest::addColumn<Event>("event");
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<QString>("useTray");
    QTest::addColumn<QString>("useBuddy");
    QTest::addColumn<QString>("tile");
    QTest::addColumn<QStringList>("shown"); // the note tile's line, or the toast's two

    const struct {
        const char* name;
        Event event;
        QStringList note;
        QStringList toast;
    } events[] = {
        {"message",
         Event::Message,
         {"Message from: bob - hi there"},
         {"<bob> hi there", "MESSAGE"}},
        // The note tile shows a notice as it came, codes and all.
        {"notice",
         Event::Notice,
         {"(Notice from: bob) - \x03"
          "4hi\x03 there"},
         {"[bob] hi there", "NOTICE"}},
        {"buddy", Event::Buddy, {"Online: friend"}, {"friend is online", "Notify"}},
        {"buddy gone", Event::BuddyGone, {"Offline: friend"}, {"friend is offline", "Notify"}},
        {"action", Event::Action, {"Message from: bob waves"}, {"*bob waves", "ACTION"}},
        {"channel action", Event::ChannelAction, {}, {}},
    };
    for (const auto& e : events) {
        for (const bool minimised : {true, false}) {
            for (const char* tray : {"1", "0"}) {
                for (const char* buddy : {"1", "0"}) {
                    for (const char* tile : {"0", "1", "2"}) {
                        const bool wanted = minimised && QLatin1String(tray) == u"1" &&
                                            QLatin1String(buddy) == u"1";
                        QStringList shown;
                        if (wanted && QLatin1String(tile) == u"0")
                            shown = e.note;
                        else if (wanted && QLatin1String(tile) == u"1")
                            shown = e.toast;
                        QTest::addRow("%s, %s, tray %s, buddy %s, tile %s", e.name,
                                      minimised ? "minimised" : "shown", tray, buddy, tile)
                            << e.event << minimised << tray << buddy << tile << shown;
                    }
                }
            }
        }
    }
}

void TestMessageEvents::alertTiles() {
    QFETCH(Event, event);
    QFETCH(bool, minimised);
    QFETCH(QString, useTray);
    QFETCH(QString, useBuddy);
    QFETCH(QString, tile);
    QFETCH(QStringList, shown);
    FakeNotifyArea area;
    Program p(m_folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    p.serverWindow().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.mainFrame()));
    p.ServerConnected = true;
    p.settings.setValue(QStringLiteral("SHOW_NOTICE"), QStringLiteral("1"));
    p.settings.setValue(QStringLiteral("USE_TRAY"), useTray);
    p.settings.setValue(QStringLiteral("USE_BUDDY"), useBuddy);
    p.settings.setValue(QStringLiteral("USE_MSNTILE"), tile);
    p.settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    if (minimised)
        p.mainFrame().setWindowState(Form::vbMinimized);
    p.notifyWindow().List1->addItem(QStringLiteral("friend"));

    frm_main& frame = p.mainFrame();
    switch (event) {
    case Event::Message:
        frame.messageEvents->Yarv1_PrivateMessage(QStringLiteral("bob!u@host"),
                                                  QStringLiteral("\x03"
                                                                 "4hi\x03 there"));
        break;
    case Event::Notice:
        frame.messageEvents->Yarv1_NoticeReceived(QStringLiteral("bob!u@host"),
                                                  QStringLiteral("me"),
                                                  QStringLiteral("\x03"
                                                                 "4hi\x03 there"));
        break;
    case Event::Buddy:
        frame.notifyReplies->Yarv1_IsonReply(QStringLiteral("me"), QStringLiteral("friend"));
        break;
    case Event::BuddyGone:
        p.notifyWindow().l_online->addItem(QStringLiteral("friend"));
        frame.notifyReplies->Yarv1_IsonReply(QStringLiteral("me"), QString());
        break;
    case Event::Action:
        frame.ctcpHandler->Yarv1_CtcpRequest(QStringLiteral("bob!u@host"), QStringLiteral("ME"),
                                             QStringLiteral("ACTION"), QStringLiteral("waves"));
        break;
    case Event::ChannelAction:
        frame.ctcpHandler->Yarv1_CtcpRequest(QStringLiteral("bob!u@host"), QStringLiteral("#c"),
                                             QStringLiteral("ACTION"), QStringLiteral("waves"));
        break;
    }

    QCOMPARE(p.hasNoteTile(), shown.size() == 1);
    QCOMPARE(p.hasToast(), shown.size() == 2);
    if (shown.size() == 1)
        QCOMPARE(QStringList{p.noteTile().Label1->text()}, shown);
    if (shown.size() == 2)
        QCOMPARE(QStringList({p.toast().Label1->text(), p.toast().Label2->text()}), shown);
}

PARLONE_TEST_MAIN(TestMessageEvents)
#include "tst_messageevents.moc"
