#pragma once
// QTEST_MAIN for widget tests that must run without a display: the offscreen
// platform is used unless the caller chose one.

#include <QApplication>
#include <QtTest>

#define PARLONE_TEST_MAIN(TestClass)                                                               \
    int main(int argc, char** argv) {                                                              \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                        \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                               \
        QApplication app(argc, argv);                                                              \
        TestClass tc;                                                                              \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
