// Message hooks: attaching sinks to messages of real windows, the hook state
// kept in window properties, and what the dispatcher does with each message.
//
// Most cases are scripts run against one window whose default procedure
// records what it sees. A script is a list of steps; each step may add lines
// to the log, which is compared whole:
//   attach X M / detach X M     sink X (A, B or C) to or from message M;
//                               a raised error logs "error <code>"
//   respond X pre|post|consume  what X answers as MsgResponse
//   send M                      SendMessageA; logs "result <r>"
//   props                       the window's properties, names with the handle
//                               written as H, sorted
//   proc                        whose procedure is current: own, hooked, foreign
//   when X <step>               X runs <step> inside its next WindowProc
//   throw X proc|response|int   X throws once from WindowProc / MsgResponse
//   delete X                    destroys sink X
//   destroy / newwindow         destroys the window / starts a fresh one
//   replace                     someone else installs a procedure over the current
//   callsaved M                 calls the procedure that one replaced
// Sinks log "X M" when called and return A 10, B 20, C 30; the default
// procedure logs "default M" and returns 99.

#include "subclass/Loomhook.h"
#include "tests/support/TestMain.h"

#include <QRegularExpression>
#include <QThread>
#include <QWidget>

#include <map>
#include <memory>

using namespace loomhook;
using platform::ComError;

namespace {

class Script;

class ScriptSink : public ISubclass {
public:
    ScriptSink(Script* script, QString name, LRESULT value)
        : m_script(script), m_name(std::move(name)), m_value(value) {}

    EMsgResponse MsgResponse() const override;
    LRESULT WindowProc(HWND hwnd, qint32 iMsg, WPARAM wParam, LPARAM lParam) override;

    EMsgResponse response = emrConsume;
    mutable QString throwFrom; // "proc", "response" or "int", once
    QStringList pending;       // steps to run inside the next WindowProc

private:
    Script* m_script;
    QString m_name;
    LRESULT m_value;
};

class Script {
public:
    Script() {
        newWindow();
        const QString names[] = {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")};
        LRESULT value = 10;
        for (const QString& name : names) {
            auto sink = std::make_unique<ScriptSink>(this, name, value);
            value += 10;
            m_addresses.insert(static_cast<qint64>(
                                   reinterpret_cast<quintptr>(static_cast<ISubclass*>(sink.get()))),
                               name);
            m_sinks[name] = std::move(sink);
        }
    }
    ~Script() {
        m_sinks.clear();
        m_widget.reset();
        if (m_foreign)
            platform::UnregisterWindowProc(m_foreign);
    }

    void run(const QString& step);
    QStringList log;

private:
    void newWindow();
    QString props() const;
    ScriptSink* sink(const QString& name) const { return m_sinks.at(name).get(); }

    std::unique_ptr<QWidget> m_widget;
    HWND m_hwnd = 0;
    platform::WNDPROC m_own = 0;
    platform::WNDPROC m_foreign = 0;
    platform::WNDPROC m_foreignSaved = 0;
    std::map<QString, std::unique_ptr<ScriptSink>> m_sinks;
    QHash<qint64, QString> m_addresses;
    GSubclass m_hooks;
};

EMsgResponse ScriptSink::MsgResponse() const {
    if (throwFrom == QLatin1String("response")) {
        throwFrom.clear();
        throw ComError(1, QStringLiteral("sink"), QStringLiteral("response failed"));
    }
    return response;
}

LRESULT ScriptSink::WindowProc(HWND, qint32 iMsg, WPARAM, LPARAM) {
    m_script->log << QStringLiteral("%1 %2").arg(m_name).arg(iMsg);
    if (throwFrom == QLatin1String("proc")) {
        throwFrom.clear();
        throw ComError(2, QStringLiteral("sink"), QStringLiteral("handler failed"));
    }
    if (throwFrom == QLatin1String("int")) {
        throwFrom.clear();
        throw 42;
    }
    // A step may destroy this sink: take what is needed first.
    const QStringList steps = std::exchange(pending, {});
    const LRESULT value = m_value;
    Script* script = m_script;
    for (const QString& step : steps)
        script->run(step);
    return value;
}

void Script::newWindow() {
    m_widget = std::make_unique<QWidget>();
    m_hwnd = platform::CreatePlatformWindow(
        m_widget.get(), [this](HWND, platform::UINT msg, WPARAM, LPARAM) -> LRESULT {
            log << QStringLiteral("default %1").arg(static_cast<qint32>(msg));
            return 99;
        });
    m_own = platform::GetWindowLongA(m_hwnd, platform::GWL_WNDPROC);
}

QString Script::props() const {
    const QString h = QString::number(m_hwnd);
    QMap<QString, QString> out; // sorted by shown name
    for (const QString& name : platform::EnumPropNames(m_hwnd)) {
        const qint64 value = platform::GetPropA(m_hwnd, name);
        QString shown = name;
        QString valueText = QString::number(value);
        if (name == h) {
            shown = QStringLiteral("H");
            valueText = value == m_own       ? QStringLiteral("own")
                        : value == m_foreign ? QStringLiteral("foreign")
                                             : valueText;
        } else if (name == QLatin1Char('C') + h) {
            shown = QStringLiteral("CH");
        } else if (name.startsWith(h + QLatin1Char('#'))) {
            shown = QLatin1Char('H') + name.mid(h.size());
            if (!shown.endsWith(QLatin1Char('C')))
                valueText = m_addresses.value(value, valueText);
        }
        out.insert(shown, valueText);
    }
    QStringList shownProps;
    for (auto it = out.cbegin(); it != out.cend(); ++it)
        shownProps << it.key() + QLatin1Char('=') + it.value();
    return shownProps.join(QLatin1Char(' '));
}

void Script::run(const QString& step) {
    const QStringList w = step.split(QLatin1Char(' '));
    const QString& op = w.at(0);
    if (op == QLatin1String("attach") || op == QLatin1String("detach")) {
        try {
            if (op == QLatin1String("attach"))
                m_hooks.AttachMessage(sink(w.at(1)), m_hwnd, w.at(2).toInt());
            else
                m_hooks.DetachMessage(sink(w.at(1)), m_hwnd, w.at(2).toInt());
        } catch (const ComError& e) {
            log << QStringLiteral("error %1").arg(e.number() & 0xFFFF);
        }
    } else if (op == QLatin1String("respond")) {
        sink(w.at(1))->response = w.at(2) == QLatin1String("pre")    ? emrPreprocess
                                  : w.at(2) == QLatin1String("post") ? emrPostProcess
                                                                     : emrConsume;
    } else if (op == QLatin1String("send")) {
        try {
            log << QStringLiteral("result %1")
                       .arg(platform::SendMessageA(
                           m_hwnd, static_cast<platform::UINT>(w.at(1).toInt()), 1, 2));
        } catch (...) {
            log << QStringLiteral("escaped");
        }
    } else if (op == QLatin1String("props")) {
        log << QStringLiteral("props ") + props();
    } else if (op == QLatin1String("proc")) {
        const platform::WNDPROC current = platform::GetWindowLongA(m_hwnd, platform::GWL_WNDPROC);
        log << (current == m_own       ? QStringLiteral("proc own")
                : current == m_foreign ? QStringLiteral("proc foreign")
                : current == 0         ? QStringLiteral("proc none")
                                       : QStringLiteral("proc hooked"));
    } else if (op == QLatin1String("when")) {
        sink(w.at(1))->pending << QStringList(w.mid(2)).join(QLatin1Char(' '));
    } else if (op == QLatin1String("throw")) {
        sink(w.at(1))->throwFrom = w.at(2);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Loomhook: ")));
    } else if (op == QLatin1String("delete")) {
        m_sinks.at(w.at(1)).reset();
    } else if (op == QLatin1String("destroy")) {
        m_widget.reset();
    } else if (op == QLatin1String("newwindow")) {
        newWindow();
    } else if (op == QLatin1String("replace")) {
        m_foreign = platform::RegisterWindowProc(
            [this](HWND hwnd, platform::UINT msg, WPARAM wParam, LPARAM lParam) {
                log << QStringLiteral("foreign %1").arg(static_cast<qint32>(msg));
                return platform::CallWindowProcA(m_foreignSaved, hwnd, msg, wParam, lParam);
            });
        m_foreignSaved = platform::SetWindowLongA(m_hwnd, platform::GWL_WNDPROC, m_foreign);
    } else if (op == QLatin1String("callsaved")) {
        log << QStringLiteral("saved result %1")
                   .arg(platform::CallWindowProcA(
                       m_foreignSaved, m_hwnd, static_cast<platform::UINT>(w.at(1).toInt()), 1, 2));
    } else {
        QFAIL(qPrintable(QStringLiteral("unknown step: ") + step));
    }
}

void addScript(const char* name, const QStringList& steps, const QStringList& expected) {
    QTest::newRow(name) << steps << expected;
}

} // namespace

class TestLoomhook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hooks_data();
    void hooks();
    void hooksSurviveMisuse_data();
    void hooksSurviveMisuse();
    void attachErrorsAreComErrors_data();
    void attachErrorsAreComErrors();
    void moduleStateFollowsMostRecentDispatch();

private:
    static void runScript();
};

void TestLoomhook::runScript() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    Script script;
    for (const QString& step : steps)
        script.run(step);
    QCOMPARE(script.log, expected);
}

void TestLoomhook::hooks_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    addScript("one sink on two messages installs once, restores once",
              {"attach A 276", "proc", "attach A 277", "props", "send 276", "send 277",
               "detach A 276", "proc", "props", "detach A 277", "proc", "props"},
              {"proc hooked", "props CH=2 H=own H#276#1=A H#276C=1 H#277#1=A H#277C=1", "A 276",
               "result 10", "A 277", "result 10", "proc hooked",
               "props CH=1 H=own H#276C=0 H#277#1=A H#277C=1", "proc own",
               "props H#276C=0 H#277C=0"});
    addScript("attaching twice raises 13082 and counts stay",
              {"attach A 276", "attach A 276", "props", "detach A 276", "proc", "props"},
              {"error 13082", "props CH=1 H=own H#276#1=A H#276C=1", "proc own", "props H#276C=0"});
    addScript("negative numbers are written signed", {"attach A -5", "props", "send -5"},
              {"props CH=1 H=own H#-5#1=A H#-5C=1", "A -5", "result 10"});
    addScript("consuming sink keeps the message from the window", {"attach A 276", "send 276"},
              {"A 276", "result 10"});
    addScript("post-processing answers with the window's result",
              {"respond A post", "attach A 276", "send 276"},
              {"A 276", "default 276", "result 99"});
    addScript("first sink pre-processes, result is the last sink's",
              {"respond A pre", "respond B post", "attach A 276", "attach B 276", "send 276"},
              {"default 276", "A 276", "B 276", "result 20"});
    addScript("the first sink alone decides pre-processing",
              {"respond B pre", "attach A 276", "attach B 276", "send 276"},
              {"A 276", "B 276", "result 20"});
    addScript("the last sink alone decides post-processing",
              {"respond A post", "attach A 276", "attach B 276", "attach C 276", "send 276"},
              {"A 276", "B 276", "C 276", "result 30"});
    addScript("post-processing decided after the last sink ran",
              {"attach A 276", "when A respond A post", "send 276", "send 276"},
              {"A 276", "default 276", "result 99", "A 276", "default 276", "result 99"});
    addScript("detaching the first of three keeps the order",
              {"attach A 276", "attach B 276", "attach C 276", "detach A 276", "props", "send 276"},
              {"props CH=2 H=own H#276#1=B H#276#2=C H#276C=2", "B 276", "C 276", "result 30"});
    addScript("detaching what is not attached changes nothing",
              {"attach A 276", "attach B 277", "detach B 276", "detach C 276", "detach A 278",
               "props", "proc"},
              {"props CH=2 H=own H#276#1=A H#276C=1 H#277#1=B H#277C=1", "proc hooked"});
    addScript("a message without sinks goes to the window",
              {"attach A 276", "send 277", "send 276"},
              {"default 277", "result 99", "A 276", "result 10"});
    addScript("sinks attached and detached between messages are met at the next one",
              {"attach A 276", "send 277", "attach B 277", "send 277", "detach B 277", "send 277"},
              {"default 277", "result 99", "B 277", "result 20", "default 277", "result 99"});
    addScript("unhooked window after the last detach", {"attach A 276", "detach A 276", "send 276"},
              {"default 276", "result 99"});
}

void TestLoomhook::hooks() {
    runScript();
}

void TestLoomhook::hooksSurviveMisuse_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    // A sink destroyed while attached detaches itself from everything.
    addScript("destroyed sink leaves its messages",
              {"attach A 276", "attach A 277", "attach B 276", "delete A", "props", "send 276",
               "send 277", "delete B", "proc", "props"},
              {"props CH=1 H=own H#276#1=B H#276C=1 H#277C=0", "B 276", "result 20", "default 277",
               "result 99", "proc own", "props H#276C=0 H#277C=0"});
    addScript("sink destroying itself while it handles a message",
              {"respond A post", "attach A 276", "when A delete A", "send 276", "proc", "send 276"},
              {"A 276", "default 276", "result 99", "proc own", "default 276", "result 99"});

    // A window destroyed while hooked takes its hook state along.
    addScript(
        "window destroyed while hooked",
        {"attach A 276", "attach B 276", "destroy", "send 276", "detach A 276", "attach A 276",
         "delete A", "newwindow", "attach B 276", "props", "send 276"},
        {"result 0", "error 13083", "props CH=1 H=own H#276#1=B H#276C=1", "B 276", "result 20"});
    addScript(
        "window destroyed by a sink while it handles a message",
        {"attach A 276", "attach B 276", "when A destroy", "send 276", "delete A", "delete B"},
        {"A 276", "result 10"});

    // Detaching during a dispatch never runs the window's procedure twice.
    addScript("pre-processing sink detaches the next one",
              {"respond A pre", "attach A 276", "attach B 276", "when A detach B 276", "send 276"},
              {"default 276", "A 276", "result 10"});
    addScript("first sink detaches the last, post-processing moves to it",
              {"respond A post", "attach A 276", "attach B 276", "when A detach B 276", "send 276",
               "props"},
              {"A 276", "default 276", "result 99", "props CH=1 H=own H#276#1=A H#276C=1"});
    addScript("first sink detaches itself, the others still run",
              {"respond C post", "attach A 276", "attach B 276", "attach C 276",
               "when A detach A 276", "send 276", "send 276"},
              {"A 276", "B 276", "C 276", "default 276", "result 99", "B 276", "C 276",
               "default 276", "result 99"});
    addScript(
        "last sink detaches itself and the window",
        {"respond A post", "attach A 276", "when A detach A 276", "send 276", "proc", "props"},
        {"A 276", "default 276", "result 99", "proc own", "props H#276C=0"});
    addScript("sink detaches every sink",
              {"attach A 276", "attach B 276", "attach C 276", "when A detach C 276",
               "when A detach A 276", "when A detach B 276", "send 276", "proc"},
              {"A 276", "result 10", "proc own"});
    addScript("sink attached during a dispatch waits for the next message",
              {"attach A 276", "when A attach B 276", "send 276", "send 276"},
              {"A 276", "result 10", "A 276", "B 276", "result 20"});

    // Whatever a sink throws stays in the dispatcher; the message answers 0.
    addScript(
        "sink throws from WindowProc",
        {"respond B post", "attach A 276", "attach B 276", "throw A proc", "send 276", "send 276"},
        {"A 276", "result 0", "A 276", "B 276", "default 276", "result 99"});
    addScript("sink throws from MsgResponse",
              {"respond A post", "attach A 276", "throw A response", "send 276", "send 276"},
              {"result 0", "A 276", "default 276", "result 99"});
    addScript("sink throws something that is no exception class",
              {"attach A 276", "throw A int", "send 276", "props"},
              {"A 276", "result 0", "props CH=1 H=own H#276#1=A H#276C=1"});

    // Someone else's procedure over ours: the last detach still puts the
    // window's own procedure back, and ours then passes messages on.
    addScript("procedure replaced over the hook",
              {"respond A post", "attach A 276", "replace", "proc", "send 276", "detach A 276",
               "proc", "props", "send 276", "callsaved 276", "attach A 276", "send 276"},
              {"proc foreign", "foreign 276", "A 276", "default 276", "result 99", "proc own",
               "props H#276C=0", "default 276", "result 99", "default 276", "saved result 99",
               "A 276", "default 276", "result 99"});
}

void TestLoomhook::hooksSurviveMisuse() {
    runScript();
}

void TestLoomhook::attachErrorsAreComErrors_data() {
    QTest::addColumn<QString>("window");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QString>("description");

    QTest::newRow("no window") << "none" << qint64(0x8004331B) << "Invalid window";
    QTest::newRow("window of another process")
        << "foreign" << qint64(0x8004331C) << "Can't modify external window";
    QTest::newRow("already attached")
        << "attached" << qint64(0x8004331A) << "Message already handled by another class";
}

void TestLoomhook::attachErrorsAreComErrors() {
    QFETCH(QString, window);
    QFETCH(qint64, number);
    QFETCH(QString, description);

    QWidget widget;
    ISubclass sink;
    GSubclass hooks;
    HWND hwnd = 0x7fff0000; // never handed out
    if (window == QLatin1String("foreign"))
        hwnd = platform::RegisterForeignWindow(platform::GetCurrentProcessId() + 1);
    if (window == QLatin1String("attached")) {
        hwnd = platform::CreatePlatformWindow(&widget);
        hooks.AttachMessage(&sink, hwnd, 276);
    }
    const QStringList propsBefore = platform::EnumPropNames(hwnd);
    const qint64 procBefore = platform::GetWindowLongA(hwnd, platform::GWL_WNDPROC);

    try {
        hooks.AttachMessage(&sink, hwnd, 276);
        QFAIL("no error raised");
    } catch (const ComError& e) {
        QCOMPARE(e.number(), number);
        QCOMPARE(e.number(), platform::comErrorNumber(number & 0xFFFF));
        QCOMPARE(e.source(), QStringLiteral("Loomhook.WindowProc"));
        QCOMPARE(e.description(), description);
    }
    QCOMPARE(platform::EnumPropNames(hwnd), propsBefore);
    QCOMPARE(platform::GetWindowLongA(hwnd, platform::GWL_WNDPROC), procBefore);
    if (window == QLatin1String("foreign"))
        platform::DestroyPlatformWindow(hwnd);
}

// CurrentMessage and CallOldWindowProc refer to the most recent dispatch on
// this thread, also after a nested one has returned.
void TestLoomhook::moduleStateFollowsMostRecentDispatch() {
    QStringList log;
    auto recording = [&log](const char* name) {
        return [&log, name](HWND, platform::UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
            log << QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(msg);
            return wParam;
        };
    };
    QWidget outerWidget, innerWidget;
    const HWND outer = platform::CreatePlatformWindow(&outerWidget, recording("outer"));
    const HWND inner = platform::CreatePlatformWindow(&innerWidget, recording("inner"));
    GSubclass hooks;

    struct Sink : ISubclass {
        std::function<LRESULT()> handle;
        LRESULT WindowProc(HWND, qint32, WPARAM, LPARAM) override { return handle(); }
    } outerSink, innerSink;
    qint32 seenBeforeNesting = 0;
    outerSink.handle = [&] {
        seenBeforeNesting = hooks.CurrentMessage();
        return platform::SendMessageA(inner, platform::WM_VSCROLL, 0, 0);
    };
    innerSink.handle = [] { return LRESULT(5); };
    hooks.AttachMessage(&outerSink, outer, platform::WM_HSCROLL);
    hooks.AttachMessage(&innerSink, inner, platform::WM_VSCROLL);

    QCOMPARE(platform::SendMessageA(outer, platform::WM_HSCROLL, 0, 0), 5);
    QCOMPARE(seenBeforeNesting, 276);
    QCOMPARE(hooks.CurrentMessage(), 277);
    // The inner window's own procedure, not the outer one's.
    QCOMPARE(hooks.CallOldWindowProc(inner, 300, 7, 0), 7);
    QCOMPARE(log, QStringList{QStringLiteral("inner 300")});

    // Another thread has dispatched nothing.
    qint32 otherThread = -1;
    std::unique_ptr<QThread> thread(
        QThread::create([&] { otherThread = GSubclass().CurrentMessage(); }));
    thread->start();
    QVERIFY(thread->wait(10000));
    QCOMPARE(otherThread, 0);
}

PARLONE_TEST_MAIN(TestLoomhook)
#include "tst_loomhook.moc"
