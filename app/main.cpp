// Parlone: creates the application, runs the start-up procedure and the
// event loop.

#include "core/Program.h"
#include "core/mod_startup.h"

#include <QApplication>

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlone"));
    Program program;
    program.identPort = 113; // the ident port IRC servers ask
    try {
        Main(program);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "parlone: start-up failed: %s\n", e.what());
        return 1;
    }
    return QApplication::exec();
}
