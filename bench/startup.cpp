// Start-up time: from an empty program folder (the first run) and from one
// holding a server list, settings and popups (a usual run), until `Main`
// has shown the frame and the application has drawn its first frame.

#include "core/Program.h"
#include "core/mod_startup.h"
#include "platform/dialogs/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
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

    QByteArray servers;
    for (int i = 0; i < 500; ++i)
        servers += QStringLiteral("\"irc%1.example.org\x15"
                                  "6667\x15Server %1\x15Net%2\"\r\n")
                       .arg(i)
                       .arg(i % 20)
                       .toUtf8();
    servers += "\"\"\r\n";
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
    return 0;
}
