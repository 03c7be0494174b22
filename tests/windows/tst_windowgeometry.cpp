// Window geometry files: the five records written byte for byte, read back
// in file order up to the first damaged line, and applied either as they
// stand or, for a window saved in another state, with a normal place of its
// own to come back to.

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/WindowGeometry.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "tests/windows/OnScreenTwips.h"

namespace {

class GeometryForm : public Form {
public:
    GeometryForm(Program& program, GeometryVariant variant)
        : Form(program, Kind::MdiChild, QStringLiteral("geo")), m_variant(variant) {}
    void FSet(const QString& key, const QString& value) {
        ApplyGeometryRecord(*this, key, value, m_variant);
    }

private:
    GeometryVariant m_variant;
};

struct Geometry {
    int state, left, top, height, width;
    bool operator==(const Geometry&) const = default;
};

Geometry geometryOf(const Form& form) {
    return {form.WindowState(), form.Left(), form.Top(), form.Height(), form.Width()};
}

char* toString(const Geometry& g) {
    return qstrdup(QStringLiteral("state %1 at (%2, %3) height %4 width %5")
                       .arg(g.state)
                       .arg(g.left)
                       .arg(g.top)
                       .arg(g.height)
                       .arg(g.width)
                       .toUtf8()
                       .constData());
}

// Where each test window starts.
constexpr Geometry kStart{Form::vbNormal, 1500, 1500, 4500, 6000};

} // namespace

Q_DECLARE_METATYPE(Geometry)

class TestWindowGeometry : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void writesFiveRecordsByteExact_data();
    void writesFiveRecordsByteExact();
    void readsRecordsInFileOrder_data();
    void readsRecordsInFileOrder();
    void stateRoundsHalfToEven_data();
    void stateRoundsHalfToEven();
    void restoreVariantKeepsANormalPlace_data();
    void restoreVariantKeepsANormalPlace();

private:
    std::unique_ptr<GeometryForm> openWindow(GeometryVariant variant);
    void readInto(GeometryForm& form);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestWindowGeometry::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->mainFrame().resize(1200, 900);
    m_p->mainFrame().show();
}

void TestWindowGeometry::cleanup() {
    m_p.reset();
    m_folder.reset();
}

std::unique_ptr<GeometryForm> TestWindowGeometry::openWindow(GeometryVariant variant) {
    auto form = std::make_unique<GeometryForm>(*m_p, variant);
    form->Show();
    form->Move(kStart.left, kStart.top, kStart.width, kStart.height);
    return form;
}

void TestWindowGeometry::readInto(GeometryForm& form) {
    ReadWindowGeometry(
        *m_p, QStringLiteral("geo.win"),
        [&form](const QString& key, const QString& value) { form.FSet(key, value); });
}

void TestWindowGeometry::writesFiveRecordsByteExact_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("on screen") << 1200
                               << QByteArray("\"WIN_STATE\",\" 0\"\r\n"
                                             "\"WIN_LEFT\",\" 1200\"\r\n"
                                             "\"WIN_TOP\",\" 300\"\r\n"
                                             "\"WIN_HEIGHT\",\" 4500\"\r\n"
                                             "\"WIN_WIDTH\",\" 6000\"\r\n");
    QTest::newRow("left of the area") << -300
                                      << QByteArray("\"WIN_STATE\",\" 0\"\r\n"
                                                    "\"WIN_LEFT\",\"-300\"\r\n"
                                                    "\"WIN_TOP\",\" 300\"\r\n"
                                                    "\"WIN_HEIGHT\",\" 4500\"\r\n"
                                                    "\"WIN_WIDTH\",\" 6000\"\r\n");
}

void TestWindowGeometry::writesFiveRecordsByteExact() {
    QFETCH(int, left);
    QFETCH(QByteArray, expected);
    auto form = openWindow(GeometryVariant::Plain);
    form->FSet(QStringLiteral("WIN_LEFT"), QString::number(left));
    form->Move(-1, 300, 6000, 4500);
    // An existing file in other letter case is the one rewritten.
    m_folder->write(QStringLiteral("GEO.win"), "old");
    QVERIFY(WriteWindowGeometry(*m_p, QStringLiteral("geo.win"), *form));
    QCOMPARE(m_folder->read(QStringLiteral("GEO.win")), expected);
    QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("geo.win"))));

    // What was written comes back.
    auto other = openWindow(GeometryVariant::Plain);
    m_folder->write(QStringLiteral("geo.win"), expected);
    readInto(*other);
    QCOMPARE(geometryOf(*other), geometryOf(*form));
}

void TestWindowGeometry::readsRecordsInFileOrder_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Geometry>("expected");
    const Geometry s = kStart;
    QTest::newRow("no file") << QByteArray() << s;
    QTest::newRow("empty file") << QByteArray("") << s;
    QTest::newRow("key in any case")
        << QByteArray("\"win_left\",\"300\"") << Geometry{s.state, 300, s.top, s.height, s.width};
    QTest::newRow("stops at a record without value")
        << QByteArray("\"WIN_STATE\",\"0\"\r\n\"WIN_LEFT\"\r\n\"WIN_TOP\",\" 600\"\r\n") << s;
    QTest::newRow("stops at a blank line")
        << QByteArray("\"WIN_LEFT\",\" 600\"\r\n\r\n\"WIN_TOP\",\" 600\"\r\n")
        << Geometry{s.state, 600, s.top, s.height, s.width};
    QTest::newRow("stops at three fields")
        << QByteArray("\"WIN_LEFT\",\" 600\",\"x\"\n\"WIN_TOP\",\" 600\"\n") << s;
    QTest::newRow("reordered, LF ends")
        << QByteArray("\"WIN_WIDTH\",\" 3000\"\n\"WIN_TOP\",\" 750\"\n\"WIN_LEFT\",\" 450\"")
        << Geometry{s.state, 450, 750, s.height, 3000};
    QTest::newRow("other keys passed over")
        << QByteArray("\"WIN_COLOUR\",\" 5\"\r\n\"WIN_HEIGHT\",\" 3000\"\r\n")
        << Geometry{s.state, s.left, s.top, 3000, s.width};
    QTest::newRow("not a number is 0")
        << QByteArray("\"WIN_TOP\",\"abc\"\r\n") << Geometry{s.state, s.left, 0, s.height, s.width};
    QTest::newRow("leading number, fraction")
        << QByteArray("\"WIN_LEFT\",\"  907.4 twips\"\r\n")
        << Geometry{s.state, onScreenX(907), s.top, s.height, s.width};
    QTest::newRow("size below zero is zero") << QByteArray("\"WIN_WIDTH\",\"-600\"\r\n")
                                             << Geometry{s.state, s.left, s.top, s.height, 0};
    QTest::newRow("huge numbers stay numbers")
        << QByteArray("\"WIN_LEFT\",\"1e300\"\r\n\"WIN_LEFT\",\" 30\"\r\n")
        << Geometry{s.state, 30, s.top, s.height, s.width};
}

void TestWindowGeometry::readsRecordsInFileOrder() {
    QFETCH(QByteArray, file);
    QFETCH(Geometry, expected);
    auto form = openWindow(GeometryVariant::Plain);
    if (!file.isNull())
        m_folder->write(QStringLiteral("geo.win"), file);
    readInto(*form);
    QCOMPARE(geometryOf(*form), expected);
}

void TestWindowGeometry::stateRoundsHalfToEven_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("state");
    QTest::newRow("1") << " 1" << int(Form::vbMinimized);
    QTest::newRow("2") << " 2" << int(Form::vbMaximized);
    QTest::newRow("0.5 to 0") << "0.5" << int(Form::vbNormal);
    QTest::newRow("1.5 to 2") << "1.5" << int(Form::vbMaximized);
    QTest::newRow("2.5 to 2") << "2.5" << int(Form::vbMaximized);
    QTest::newRow("1.6 to 2") << "1.6" << int(Form::vbMaximized);
    QTest::newRow("3 skipped") << "3" << int(Form::vbNormal);
    QTest::newRow("-1 skipped") << "-1" << int(Form::vbNormal);
    QTest::newRow("huge skipped") << "1e300" << int(Form::vbNormal);
}

void TestWindowGeometry::stateRoundsHalfToEven() {
    QFETCH(QString, value);
    QFETCH(int, state);
    auto form = openWindow(GeometryVariant::Plain);
    form->FSet(QStringLiteral("WIN_STATE"), value);
    QCOMPARE(form->WindowState(), state);
}

void TestWindowGeometry::restoreVariantKeepsANormalPlace_data() {
    QTest::addColumn<int>("saved");
    QTest::newRow("maximised") << int(Form::vbMaximized);
    QTest::newRow("minimised") << int(Form::vbMinimized);
}

void TestWindowGeometry::restoreVariantKeepsANormalPlace() {
    QFETCH(int, saved);
    auto form = openWindow(GeometryVariant::Restore);
    m_folder->write(QStringLiteral("geo.win"), FormatWindowGeometry(saved, 3000, 2000, 1000, 1000));
    readInto(*form);
    QCOMPARE(form->WindowState(), saved);

    // Restored by the user, it comes back at (100, 100) with three quarters
    // of the frame; the saved place and size were passed over.
    form->setWindowState(Form::vbNormal);
    const frm_main& frame = m_p->mainFrame();
    QCOMPARE(geometryOf(*form),
             (Geometry{Form::vbNormal, onScreenX(100), onScreenY(100),
                       onScreenY(frame.Height() * 3 / 4), onScreenX(frame.Width() * 3 / 4)}));
}

PARLONE_TEST_MAIN(TestWindowGeometry)
#include "tst_windowgeometry.moc"
