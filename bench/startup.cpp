// Start-up time: from an empty program folder (the first run) and from one
// holding a server list, settings and popups (a usual run), until `Main`
// has shown the frame and the application has drawn its first frame.
//
// And start-up as the user sees it (startup_to_frame_ms): from starting the
// parlone program, found beside this benchmark, until its frame is up with
// the server window, offscreen. Its usual program folder asks it to connect
// at start-up to a listener of this benchmark: Parlone shows the frame with
// the server window before it connects, and the connection is made from its
// running event loop, so the connection's arrival marks the frame shown.

#include "core/Program.h"
#include "core/mod_startup.h"
#include "platform/dialogs/Dialogs.h"

#include <QApplication>
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

// Answers No to the first-run question and cancels everything else.
class NoAnswerer : public platform::DialogAnswerer {
public:
    int messageBox(const platform::DialogRequest&) override { return platform::vbNo; }
    std::optional<QString> inputBox(const platform::DialogRequest&) override {
        return std::nullopt;
    }
};

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Milliseconds for one start in a fresh copy of the folder's files.
double startOnce(const QList<QPair<QString, QByteArray>>& files) {
    QTemporaryDir folder;
    for (const auto& [name, bytes] : files)
        write(folder.filePath(name), bytes);
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<Program> program = Main(folder.path());
    QCoreApplication::processEvents();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    program.reset();
    QCoreApplication::processEvents();
    return ms;
}

// A usual server list of 500 entries.
QByteArray serverList() {
    QByteArray servers;
    for (int i = 0; i < 500; ++i)
        servers += QStringLiteral("\"irc%1.example.org\x15"
                                  "6667\x15Server %1\x15Net%2\"\r\n")
                       .arg(i)
                       .arg(i % 20)
                       .toUtf8();
    return servers + "\"\"\r\n";
}

// Milliseconds from starting the program until its connection came;
// nothing when it never came.
std::optional<double> startProcessOnce(const QString& parlone) {
    QTcpServer listener;
    if (!listener.listen(QHostAddress::LocalHost))
        return std::nullopt;
    QByteArray settings = "\"PROMPT_SWIZ\",\"0\"\r\n\"USE_INSTANTCONNECT\",\"1\"\r\n"
                          "\"SERVER_URL\",\"127.0.0.1\"\r\n";
    settings += "\"SERVER_PORT\",\"" + QByteArray::number(listener.serverPort()) + "\"\r\n";
    for (const char* key : {"PROFILE_NICKNAME", "PROFILE_ALTERNATE", "PROFILE_USERNAME",
                            "PROFILE_EMAIL", "PROFILE_REALNAME"})
        settings += QByteArray("\"") + key + "\",\"bench\"\r\n";
    QTemporaryDir folder;
    write(folder.filePath(QStringLiteral("settings.ini")), settings);
    write(folder.filePath(QStringLiteral("servers.ini")), serverList());

    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(parlone, {QStringLiteral("--program-folder"), folder.path()});
    const bool connected = listener.waitForNewConnection(30000);
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    process.kill();
    process.waitForFinished(5000);
    if (!connected)
        return std::nullopt;
    return ms;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    NoAnswerer answerer;
    platform::SetDialogAnswerer(&answerer);

    const QByteArray servers = serverList();
    const QByteArray settings =
        "\"PROMPT_SWIZ\",\"0\"\r\n\"SERVER_URL\",\"irc250.example.org\"\r\n";
    const QList<QPair<QString, QByteArray>> usual{{QStringLiteral("servers.ini"), servers},
                                                  {QStringLiteral("settings.ini"), settings}};

    startOnce({}); // warm the font and style caches once
    std::vector<double> first, usualRuns;
    for (int i = 0; i < 5; ++i) {
        first.push_back(startOnce({}));
        usualRuns.push_back(startOnce(usual));
    }
    std::printf("startup_first_run_ms: %.1f ms\n", median(first));
    std::printf("startup_with_500_servers_ms: %.1f ms\n", median(usualRuns));
    platform::SetDialogAnswerer(nullptr);

    const QString parlone = QCoreApplication::applicationDirPath() + QStringLiteral("/parlone");
    startProcessOnce(parlone); // warm the disk cache once
    std::vector<double> processRuns;
    for (int i = 0; i < 10; ++i) {
        const std::optional<double> ms = startProcessOnce(parlone);
        if (!ms) {
            std::fprintf(stderr, "startup: parlone did not come up\n");
            return 1;
        }
        processRuns.push_back(*ms);
    }
    std::sort(processRuns.begin(), processRuns.end());
    std::printf("startup_to_frame_ms: %.1f ms\n", (processRuns.at(4) + processRuns.at(5)) / 2);
    return 0;
}
