// Parlone: creates the application, runs the start-up procedure and the
// event loop.

#include "core/Program.h"
#include "core/mod_startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Parlone"));
    std::unique_ptr<Program> program = Main();
    return QApplication::exec();
}
