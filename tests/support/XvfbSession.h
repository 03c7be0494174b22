#pragma once
// Runs a test executable on a real X server of its own, for what the
// offscreen platform cannot show (focus, stacking, mapping). In the first
// process it starts an Xvfb on a display the server picks itself, and the
// openbox window manager on it when asked, runs this same executable again on
// that display, stops them by process id and returns the child's exit code.
// In that child it runs the tests on the X platform.

#include <functional>

class XvfbSession {
public:
    enum class WindowManager { None, Openbox };
    // `tests` runs in the child, on the X server; its result is the exit code.
    static int run(int argc, char** argv, WindowManager windowManager,
                   const std::function<int(int argc, char** argv)>& tests);
};

// main() for a QtTest class that runs under its own Xvfb.
#define PARLONE_XVFB_TEST_MAIN(TestClass, windowManager)                                           \
    int main(int argc, char** argv) {                                                              \
        return XvfbSession::run(argc, argv, windowManager, [](int childArgc, char** childArgv) {   \
            QApplication app(childArgc, childArgv);                                                \
            TestClass test;                                                                        \
            return QTest::qExec(&test, childArgc, childArgv);                                      \
        });                                                                                        \
    }
