// Parlone: creates the application, runs the start-up procedure and the
// event loop. The program ends only through its exit sequence, never because
// a window closed.
//
// Usage: parlone [--program-folder <folder>]
// Without the option the program folder is the executable's folder, or the
// per-user data folder when that one cannot be written.

#include "core/Program.h"
#include "core/mod_startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlone"));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Parlone, an IRC client."));
    options.addHelpOption();
    const QCommandLineOption folder(
        QStringLiteral("program-folder"),
        QStringLiteral("Keep settings, scripts and logs in <folder> (created when missing)."),
        QStringLiteral("folder"));
    options.addOption(folder);
    options.process(app);

    QString programFolder = options.value(folder);
    if (!programFolder.isEmpty())
        programFolder = QDir(programFolder).absolutePath();

    Program program(programFolder);
    program.identPort = 113; // the ident port IRC servers ask
    program.connectionTimer = true;
    try {
        Main(program);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "parlone: start-up failed: %s\n", e.what());
        return 1;
    }
    return QApplication::exec();
}
