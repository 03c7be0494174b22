// Start-up as the user sees it: from starting the parlone process until its
// frame is up with the server window, offscreen. A usual program folder
// (settings, 500 servers) asks Parlone to connect at start-up to a listener
// of this benchmark; Parlone shows the frame with the server window before it
// connects, and the connection is made from its running event loop, so the
// connection's arrival marks the frame shown. Median of 10 starts.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray settingsFor(quint16 port) {
    QByteArray settings = "\"PROMPT_SWIZ\",\"0\"\r\n\"USE_INSTANTCONNECT\",\"1\"\r\n"
                          "\"SERVER_URL\",\"127.0.0.1\"\r\n";
    settings += "\"SERVER_PORT\",\"" + QByteArray::number(port) + "\"\r\n";
    for (const char* key : {"PROFILE_NICKNAME", "PROFILE_ALTERNATE", "PROFILE_USERNAME",
                            "PROFILE_EMAIL", "PROFILE_REALNAME"})
        settings += QByteArray("\"") + key + "\",\"bench\"\r\n";
    return settings;
}

QByteArray servers() {
    QByteArray list;
    for (int i = 0; i < 500; ++i)
        list += QStringLiteral("\"irc%1.example.org\x15"
                               "6667\x15Server %1\x15Net%2\"\r\n")
                    .arg(i)
                    .arg(i % 20)
                    .toUtf8();
    return list + "\"\"\r\n";
}

// Milliseconds from the process start to its connection; nothing when it
// never came.
std::optional<double> startOnce(const QString& program) {
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost))
        return std::nullopt;
    QTemporaryDir folder;
    write(folder.filePath(QStringLiteral("settings.ini")), settingsFor(listener.serverPort()));
    write(folder.filePath(QStringLiteral("servers.ini")), servers());

    QProcess parlone;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    parlone.setProcessEnvironment(env);
    parlone.setStandardOutputFile(QProcess::nullDevice());
    parlone.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    parlone.start(program, {QStringLiteral("--program-folder"), folder.path()});
    const bool connected = listener.waitForNewConnection(30000);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    parlone.kill();
    parlone.waitForFinished(5000);
    if (!connected)
        return std::nullopt;
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/parlone");
    startOnce(program); // warm the disk cache once
    std::vector<double> runs;
    for (int i = 0; i < 10; ++i) {
        const std::optional<double> ms = startOnce(program);
        if (!ms) {
            std::fprintf(stderr, "startup_to_frame: parlone did not come up\n");
            return 1;
        }
        runs.push_back(*ms);
    }
    std::sort(runs.begin(), runs.end());
    std::printf("startup_to_frame_ms: %.1f ms\n", (runs.at(4) + runs.at(5)) / 2);
    return 0;
}
