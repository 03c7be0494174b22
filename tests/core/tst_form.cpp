// One close path for every window: the close box reaches the form's close
// handler first, which may keep the window; tool windows whose lists are the
// program's only copy hide instead of going.

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_notify.h"

#include <QListWidget>
#include <QMdiSubWindow>

// A form that records each call of its close handler and answers with the
// Cancel it was given.
class RecordingForm : public Form {
public:
    RecordingForm(Program& program, Kind kind, int cancel)
        : Form(program, kind, QStringLiteral("#rec")), m_cancel(cancel) {}
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        modes << UnloadMode;
        Cancel = m_cancel;
    }
    QList<int> modes;

private:
    int m_cancel;
};

class TestForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closeBoxReachesTheHandler_data();
    void closeBoxReachesTheHandler();
    void defaultHandlerUnloads();
    void notifyWindowHidesAndKeepsItsList();

private:
    TempProgramFolder m_folder;
};

void TestForm::closeBoxReachesTheHandler_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("cancel");
    QTest::newRow("child kept") << int(Form::Kind::MdiChild) << 1;
    QTest::newRow("child closed") << int(Form::Kind::MdiChild) << 0;
    QTest::newRow("top-level kept") << int(Form::Kind::TopLevel) << 1;
    QTest::newRow("top-level closed") << int(Form::Kind::TopLevel) << 0;
}

void TestForm::closeBoxReachesTheHandler() {
    QFETCH(int, kind);
    QFETCH(int, cancel);
    Program p(m_folder.path());
    QPointer<RecordingForm> form = new RecordingForm(p, Form::Kind(kind), cancel);
    form->Show();
    QVERIFY(QTest::qWaitForWindowExposed(form->windowWidget()));

    // What the title bar's close box does.
    form->windowWidget()->close();
    QCOMPARE(form->modes, QList<int>({Form::vbFormControlMenu}));
    QCOMPARE(FindForm(p, QStringLiteral("#rec")) >= 0, bool(cancel));
    QCOMPARE(form->Visible(), bool(cancel));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(form.isNull(), !cancel);
}

void TestForm::defaultHandlerUnloads() {
    Program p(m_folder.path());
    QPointer<Form> form = new Form(p, Form::Kind::MdiChild, QStringLiteral("#plain"));
    form->Show();
    QPointer<QMdiSubWindow> sub = form->subWindow();
    int cancel = 0;
    form->Form_QueryUnload(cancel, 0); // as the switchbar calls it by name
    QCOMPARE(FindForm(p, QStringLiteral("#plain")), -1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(sub.isNull());
}

void TestForm::notifyWindowHidesAndKeepsItsList() {
    Program p(m_folder.path());
    frm_notify& notify = p.notifyWindow();
    notify.List1->addItem(QStringLiteral("bob"));
    notify.Show();
    QVERIFY(QTest::qWaitForWindowExposed(notify.windowWidget()));
    notify.windowWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!notify.Visible());
    QCOMPARE(&p.notifyWindow(), &notify);
    QCOMPARE(notify.List1->count(), 1);
    QCOMPARE(notify.List1->item(0)->text(), QStringLiteral("bob"));
}

PARLONE_TEST_MAIN(TestForm)
#include "tst_form.moc"
