#include "tests/support/XvfbSession.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char displayVariable[] = "PARLONE_XVFB_DISPLAY";

void stop(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// The display's number, once Xvfb accepts clients; empty when it gave none.
QByteArray startXvfb(QProcess& xvfb) {
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp")});
    QByteArray display;
    if (xvfb.waitForStarted(5000)) {
        const QDeadlineTimer deadline(10000);
        // A loaded machine may take a while to bring the server up.
        while (!display.contains('\n') && !deadline.hasExpired() &&
               xvfb.state() == QProcess::Running) {
            xvfb.waitForReadyRead(500);
            display += xvfb.readAllStandardOutput();
        }
    }
    return display.trimmed();
}

// Whether a window manager has taken the display: it names its check window
// on the root window once it manages the screen.
bool windowManagerRunning(xcb_connection_t* connection, xcb_window_t root, xcb_atom_t check) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, root, check, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool running = reply != nullptr && xcb_get_property_value_length(reply) > 0;
    std::free(reply);
    return running;
}

bool startOpenbox(QProcess& openbox, const QByteArray& display) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
    openbox.setProcessEnvironment(environment);
    openbox.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    openbox.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
    if (!openbox.waitForStarted(5000))
        return false;
    xcb_connection_t* connection = xcb_connect(display.constData(), nullptr);
    bool running = false;
    if (!xcb_connection_has_error(connection)) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const char name[] = "_NET_SUPPORTING_WM_CHECK";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
        const QDeadlineTimer deadline(10000);
        while (atom != nullptr && !deadline.hasExpired() && openbox.state() == QProcess::Running &&
               !(running = windowManagerRunning(connection, root, atom->atom)))
            QThread::msleep(50);
        std::free(atom);
    }
    xcb_disconnect(connection);
    return running;
}

} // namespace

int XvfbSession::run(int argc, char** argv, WindowManager windowManager,
                     const std::function<int(int, char**)>& tests) {
    if (qEnvironmentVariableIsSet(displayVariable)) {
        qputenv("DISPLAY", qgetenv(displayVariable));
        qputenv("QT_QPA_PLATFORM", "xcb");
        return tests(argc, argv);
    }

    QCoreApplication app(argc, argv);
    const QString name = QCoreApplication::applicationName();
    QProcess xvfb;
    QProcess openbox;
    const auto stopAll = [&] {
        stop(openbox);
        stop(xvfb);
    };
    const QByteArray number = startXvfb(xvfb);
    if (number.isEmpty()) {
        std::fprintf(stderr, "%s: Xvfb gave no display (is xvfb installed?)\n", qPrintable(name));
        stopAll();
        return 1;
    }
    const QByteArray display = ':' + number;
    if (windowManager == WindowManager::Openbox && !startOpenbox(openbox, display)) {
        std::fprintf(stderr, "%s: openbox did not take the display (is openbox installed?)\n",
                     qPrintable(name));
        stopAll();
        return 1;
    }

    QProcess test;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(displayVariable), QString::fromLatin1(display));
    // The X platform talks to D-Bus, whose library keeps a buffer for the
    // process's life; the leak checker of sanitizer builds is told so.
    QTemporaryDir scratch;
    QFile suppressions(scratch.filePath(QStringLiteral("lsan.supp")));
    if (suppressions.open(QIODevice::WriteOnly)) {
        suppressions.write("leak:libdbus-1.so\n");
        suppressions.close();
        const QString options = environment.value(QStringLiteral("LSAN_OPTIONS"));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           (options.isEmpty() ? QString() : options + u':') +
                               QStringLiteral("suppressions=") + suppressions.fileName());
    }
    test.setProcessEnvironment(environment);
    test.setProcessChannelMode(QProcess::ForwardedChannels);
    test.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    const bool finished = test.waitForStarted(5000) && test.waitForFinished(100000);
    if (!finished)
        test.kill();
    stopAll();
    return finished && test.exitStatus() == QProcess::NormalExit ? test.exitCode() : 1;
}
