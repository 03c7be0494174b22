#include "platform/richedit/Printer.h"

#include <QPrinter>

namespace platform {

// Kept for the whole run: a printer must not outlive the application
// object in a static destructor.
QPrinter& Printer() {
    static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
    return *printer;
}

} // namespace platform
