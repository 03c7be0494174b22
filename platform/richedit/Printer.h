#pragma once
// The program's default printer, created on first use. Printing goes to it;
// a test points it at a PDF file.

#include "platform_export.h"

class QPrinter;

namespace platform {

PLATFORM_EXPORT QPrinter& Printer();

} // namespace platform
