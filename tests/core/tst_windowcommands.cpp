// The window commands: states and places in twips on a screen of 1024 by 768
// pixels (15360 by 11520 twips), saving and emptying consoles, closing and
// arranging windows.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/window/Twips.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/PeerWire.h"
#include "tests/support/TempProgramFolder.h"
#include "windows/frm_chan.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

using namespace platform;

namespace {

// A rectangle in twips as the widgets hold it: in whole pixels.
QRect pixelsOf(int left, int top, int width, int height) {
    return QRect(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                 TwipsToPixelsY(height));
}

// Within a pixel of each other: twips that are no whole number of pixels
// round either way.
bool nearly(const QRect& actual, const QRect& expected) {
    return qAbs(actual.x() - expected.x()) <= 1 && qAbs(actual.y() - expected.y()) <= 1 &&
           qAbs(actual.width() - expected.width()) <= 1 &&
           qAbs(actual.height() - expected.height()) <= 1;
}

QString describe(const QRect& r) {
    return QStringLiteral("(%1, %2) %3 x %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

} // namespace

class TestWindowCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void placesInTwips_data();
    void placesInTwips();
    void states_data();
    void states();
    void save_data();
    void save();
    void saveToAPipeReturnsAtOnce_data();
    void saveToAPipeReturnsAtOnce();
    void clearEmptiesTheQueryAndItsTwin();
    void close_data();
    void close();
    void closeInAChannelPartsOnce_data();
    void closeInAChannelPartsOnce();
    void winarrange_data();
    void winarrange();

private:
    void run(const QString& line, const QString& tag = QString()) {
        QString typed = line;
        ParseLine(*m_p, typed, tag);
    }
    Form* window(const QString& name) {
        if (name == u"frame")
            return &m_p->mainFrame();
        if (name == u"server")
            return &m_p->serverWindow();
        return name == u"chan" ? static_cast<Form*>(m_chan) : m_query;
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    QPointer<frm_chan> m_chan;
    QPointer<frm_query> m_query;
    QPointer<frm_query> m_twin;
    QString m_previousFolder;
};

void TestWindowCommands::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    // Relative paths are taken against the current folder.
    m_previousFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_folder->path()));
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->mainFrame().Move(0, 0, 9000, 7000);
    m_p->mainFrame().Show();
    m_p->serverWindow().Show();
    m_p->serverWindow().console->setText(QStringLiteral("server line"));
    m_chan = new frm_chan(*m_p);
    m_chan->setTag(QStringLiteral("#Chan"));
    m_chan->Show();
    m_chan->console->setText(QStringLiteral("channel line"));
    // A detached query's hidden twin, then the query itself.
    m_twin = new frm_query(*m_p);
    m_twin->setTag(QStringLiteral("??bob"));
    m_twin->console->setText(QStringLiteral("twin line"));
    m_query = new frm_query(*m_p);
    m_query->setTag(QStringLiteral("?bob"));
    m_query->Show();
    m_query->console->setText(QStringLiteral("query line\r\nsecond"));
}

void TestWindowCommands::cleanup() {
    m_p.reset();
    QDir::setCurrent(m_previousFolder);
    m_folder.reset();
}

void TestWindowCommands::placesInTwips_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("which");
    QTest::addColumn<QRect>("expected"); // twips: left, top, width, height

    QTest::newRow("window server rest") << "/window server rest"
                                        << "server" << QRect(10, 10, 6000, 4000);
    QTest::newRow("window normal rest, tag in other case") << "/WINDOW Normal REST #chan"
                                                           << "chan" << QRect(10, 10, 6000, 4000);
    QTest::newRow("restore") << "/restore"
                             << "frame" << QRect(1, 1, 7680, 3840);
}

void TestWindowCommands::placesInTwips() {
    QFETCH(QString, line);
    QFETCH(QString, which);
    QFETCH(QRect, expected);
    QCOMPARE(m_p->mainFrame().Width(), 9000);
    Form* w = window(which);
    w->setWindowState(Form::vbMaximized);
    run(line);
    QCOMPARE(w->WindowState(), int(Form::vbNormal));
    const QRect actual = w->windowWidget()->geometry();
    const QRect wanted = pixelsOf(expected.x(), expected.y(), expected.width(), expected.height());
    QVERIFY2(nearly(actual, wanted),
             qPrintable(describe(actual) + QStringLiteral(" instead of ") + describe(wanted)));
}

void TestWindowCommands::states_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("windows");
    QTest::addColumn<int>("state");

    QTest::newRow("window server max") << "/window server max" << QStringList{"server"} << 2;
    QTest::newRow("window server min") << "/window server min" << QStringList{"server"} << 1;
    QTest::newRow("window normal max, tag in other case")
        << "/window normal max #CHAN" << QStringList{"chan"} << 2;
    QTest::newRow("window normal min") << "/window normal min ?bob" << QStringList{"query"} << 1;
    QTest::newRow("window normal, no such window")
        << "/window normal max #none" << QStringList{"chan", "query", "server"} << 0;
    QTest::newRow("window, other word") << "/window other max" << QStringList{"server"} << 0;
    QTest::newRow("max") << "/max" << QStringList{"frame", "server"} << 2;
    QTest::newRow("min") << "/min" << QStringList{"frame"} << 1;
}

void TestWindowCommands::states() {
    QFETCH(QString, line);
    QFETCH(QStringList, windows);
    QFETCH(int, state);
    for (const QString& name : windows)
        window(name)->setWindowState(Form::vbNormal);
    run(line);
    for (const QString& name : windows)
        QCOMPARE(window(name)->WindowState(), state);
}

void TestWindowCommands::save_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("file");     // the file that should be written, relative
    QTest::addColumn<QByteArray>("bytes"); // what it should hold

    QTest::newRow("query") << "/window normal save ?BOB  saved/query.txt"
                           << "saved/query.txt" << QByteArray("query line\r\nsecond\r\n");
    QTest::newRow("channel") << "/window normal save #chan saved/chan.txt"
                             << "saved/chan.txt" << QByteArray("channel line\r\n");
    QTest::newRow("server window") << "/window server save saved/server.txt"
                                   << "saved/server.txt" << QByteArray("server line\r\n");
    QTest::newRow("a relative path is in the current folder")
        << "/window server save plain.txt"
        << "plain.txt" << QByteArray("server line\r\n");
    QTest::newRow("no path") << "/window normal save ?bob" << QString() << QByteArray();
    QTest::newRow("server without path") << "/window server save" << QString() << QByteArray();
    QTest::newRow("tag of no conversation")
        << "/window normal save Server saved/none.txt" << QString() << QByteArray();
    QTest::newRow("no such window")
        << "/window normal save #none saved/none.txt" << QString() << QByteArray();
    QTest::newRow("folder that cannot be made")
        << "/window server save blocker/x.txt" << QString() << QByteArray();
}

void TestWindowCommands::save() {
    QFETCH(QString, line);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    // The folder "saved" exists; "blocker" is a plain file, so nothing can be
    // written below it, also for root.
    QVERIFY(QDir(m_folder->path()).mkpath(QStringLiteral("saved")));
    m_folder->write(QStringLiteral("blocker"), "keep");
    const QStringList before = QDir(m_folder->path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    const QStringList savedBefore =
        QDir(m_folder->file(QStringLiteral("saved"))).entryList(QDir::Files);

    run(line);

    QStringList added = QDir(m_folder->path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : QDir(m_folder->file(QStringLiteral("saved"))).entryList(QDir::Files))
        added << QStringLiteral("saved/") + name;
    for (const QString& name : before + savedBefore)
        added.removeAll(name);
    if (file.isEmpty()) {
        QCOMPARE(added, QStringList{});
    } else {
        QCOMPARE(added, QStringList{file});
        QCOMPARE(m_folder->read(file), bytes);
    }
    QCOMPARE(m_folder->read(QStringLiteral("blocker")), QByteArray("keep"));
}

void TestWindowCommands::saveToAPipeReturnsAtOnce_data() {
    QTest::addColumn<QString>("command");
    QTest::newRow("server window") << "/window server save ";
    QTest::newRow("channel") << "/window normal save #chan ";
}

// A pipe at the path (nobody reading it) would hold a plain open for ever;
// the save fails silently instead.
void TestWindowCommands::saveToAPipeReturnsAtOnce() {
    QFETCH(QString, command);
    const QString fifo = m_folder->file(QStringLiteral("pipe"));
    QVERIFY(FifoWatchdog::make(fifo));
    FifoWatchdog watchdog(fifo);
    run(command + fifo);
    QVERIFY2(!watchdog.release(), "the save waited on the pipe");
    QVERIFY(!QFileInfo(fifo).isFile());
}

void TestWindowCommands::clearEmptiesTheQueryAndItsTwin() {
    run(QStringLiteral("/clear"), QStringLiteral("?bob"));
    QCOMPARE(m_query->console->Text(), QString());
    QCOMPARE(m_twin->console->Text(), QString());
    QCOMPARE(m_chan->console->Text(), QStringLiteral("channel line"));

    run(QStringLiteral("/clear"), QStringLiteral("#chan"));
    QCOMPARE(m_chan->console->Text(), QString());
    QCOMPARE(m_p->serverWindow().console->Text(), QStringLiteral("server line"));
    run(QStringLiteral("/clear"), QStringLiteral("Server"));
    QCOMPARE(m_p->serverWindow().console->Text(), QString());
}

void TestWindowCommands::close_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("queryClosed");

    QTest::newRow("close in the query") << "/close"
                                        << "?bob" << true;
    QTest::newRow("close in the server window") << "/close"
                                                << "Server" << false;
    QTest::newRow("window normal close") << "/window normal close ?BOB"
                                         << "#chan" << true;
    QTest::newRow("window normal close, no such window") << "/window normal close ?carol"
                                                         << "#chan" << false;
}

void TestWindowCommands::close() {
    QFETCH(QString, line);
    QFETCH(QString, tag);
    QFETCH(bool, queryClosed);
    run(line, tag);
    QCOMPARE(!m_p->forms().contains(m_query.data()), queryClosed);
    QVERIFY(m_p->forms().contains(&m_p->serverWindow()));
    QVERIFY(m_p->forms().contains(m_chan.data()));
    QVERIFY(m_p->forms().contains(m_twin.data()));
}

void TestWindowCommands::closeInAChannelPartsOnce_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tag");
    QTest::newRow("close") << "/close"
                           << "#chan";
    QTest::newRow("window normal close") << "/window normal close #CHAN"
                                         << "Server";
}

void TestWindowCommands::closeInAChannelPartsOnce() {
    QFETCH(QString, line);
    QFETCH(QString, tag);
    PeerWire wire(*m_p->mainFrame().Yarv1);
    QVERIFY(wire.connected());
    m_p->mainFrame().AddPanel(QStringLiteral("#Chan"), 5);
    QCOMPARE(wire.sentBy([&] { run(line, tag); }), QByteArrayList{"PART #Chan"});
    QVERIFY(!m_p->forms().contains(m_chan.data()));
    QCOMPARE(FindPanel(*m_p, QStringLiteral("#Chan")), 0);
}

void TestWindowCommands::winarrange_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("arrangement");

    QTest::newRow("0 cascades") << "0"
                                << "cascade";
    QTest::newRow("1 tiles one above another") << "1"
                                               << "stacked";
    QTest::newRow("2 tiles side by side") << "2"
                                          << "side by side";
    QTest::newRow("a word cascades") << "x"
                                     << "cascade";
    QTest::newRow("nothing cascades") << ""
                                      << "cascade";
    QTest::newRow("7 does nothing") << "7"
                                    << "unchanged";
    QTest::newRow("-1 does nothing") << "-1"
                                     << "unchanged";
}

void TestWindowCommands::winarrange() {
    QFETCH(QString, word);
    QFETCH(QString, arrangement);
    QMdiArea* area = m_p->mainFrame().mdiArea();
    // Three plain children, placed by hand, alone in the frame: the
    // conversation windows hidden, so that only the arrangement moves them.
    for (QMdiSubWindow* sub : area->subWindowList())
        sub->hide();
    const QList<QRect> placed{QRect(5, 5, 100, 80), QRect(50, 40, 120, 90), QRect(90, 70, 110, 60)};
    QList<QWidget*> children;
    for (const QRect& place : placed) {
        QMdiSubWindow* sub = area->addSubWindow(new QWidget);
        sub->show();
        sub->setGeometry(place);
        children << sub;
    }

    run(QStringLiteral("/winarrange ") + word);

    const QRect room = area->viewport()->rect();
    QList<QRect> now;
    for (const QWidget* child : children)
        now << child->geometry();
    if (arrangement == u"unchanged") {
        QCOMPARE(now, placed);
    } else if (arrangement == u"side by side") {
        for (int i = 0; i < now.size(); ++i) {
            QCOMPARE(now.at(i).top(), 0);
            QCOMPARE(now.at(i).height(), room.height());
            QCOMPARE(now.at(i).left(), room.width() * i / 3);
        }
    } else if (arrangement == u"stacked") {
        for (int i = 0; i < now.size(); ++i) {
            QCOMPARE(now.at(i).left(), 0);
            QCOMPARE(now.at(i).width(), room.width());
            QCOMPARE(now.at(i).top(), room.height() * i / 3);
        }
    } else {
        // Cascaded: from the top left corner, each child further right and
        // lower than the one before.
        QCOMPARE(now.at(0).topLeft(), QPoint(0, 0));
        for (int i = 1; i < now.size(); ++i) {
            QVERIFY(now.at(i).left() > now.at(i - 1).left());
            QVERIFY(now.at(i).top() > now.at(i - 1).top());
        }
    }
}

// The offscreen screen is 1024 by 768 pixels at 96 dots per inch.
int main(int argc, char** argv) {
    QTemporaryDir config;
    const QString path = config.filePath(QStringLiteral("screen.json"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    file.write(R"({"screens": [{"name": "screen", "x": 0, "y": 0, "width": 1024, )"
               R"("height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
    QApplication app(argc, argv);
    if (QGuiApplication::primaryScreen()->geometry() != QRect(0, 0, 1024, 768))
        qFatal("the offscreen screen is not 1024 x 768");
    TestWindowCommands tc;
    return QTest::qExec(&tc, argc, argv);
}

#include "tst_windowcommands.moc"
