// The numeric reading of texts.

#include "core/Val.h"

#include <QtTest>

class TestVal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void val_data();
    void val();
};

void TestVal::val_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("plain") << "6667" << 6667.0;
    QTest::newRow("leading blank") << " 6667" << 6667.0;
    QTest::newRow("trailing text") << "6667a" << 6667.0;
    QTest::newRow("range") << "6660-6669" << 6660.0;
    QTest::newRow("blanks inside") << "66 67" << 6667.0;
    QTest::newRow("negative") << "-5" << -5.0;
    QTest::newRow("plus") << "+7" << 7.0;
    QTest::newRow("fraction") << "2.5x" << 2.5;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("dangling exponent") << "12e" << 12.0;
    QTest::newRow("dangling exponent sign") << "12e+" << 12.0;
    QTest::newRow("overflow") << "1e400" << 0.0;
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("octal") << "&o17" << 15.0;
    QTest::newRow("word") << "abc" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("two points") << "1.2.3" << 1.2;
}

void TestVal::val() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(Val(text), expected);
}

QTEST_APPLESS_MAIN(TestVal)
#include "tst_val.moc"
