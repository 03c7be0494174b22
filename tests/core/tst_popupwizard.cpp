// The popup wizard: the questions it asks, in order and exactly, and the item
// it files with the popup editor for each way of answering them.

#include "config/frm_popups.h"
#include "core/PopupWizard.h"
#include "core/Program.h"
#include "core/mod_kernel.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QTimer>

using namespace platform;

namespace {

// An input box answer; "<cancel>" cancels the box.
using Inputs = QStringList;
using Boxes = QList<int>;

const QString kKindQuestion =
    QStringLiteral("Please answer the relevant question as to whether it's a server, channel "
                   "window, nickname list or  query popup you want to add");
const QString kCaptionPrompt =
    QStringLiteral("Please enter a name for the popup, this will be visible when the menu is "
                   "shown.\r\nExample: Display /LISTHint: Use the & (ampersand) character to "
                   "denote a hotkey, so you can bring up the menu and press the corresponding "
                   "key, eg. &D");
const QString kCommandPrompt =
    QStringLiteral("Please enter the responding command for this popup.\r\nExample: /connect");
const QString kNoCommand =
    QStringLiteral("Your response was to have no command, are you sure.\r\nClick Yes to "
                   "continue, No to retry or Cancel to exit");

// A prompt as "kind: prompt's first words".
QString shortly(const DialogRequest& request) {
    const QString kind =
        request.kind == DialogRequest::InputBox ? QStringLiteral("input") : QStringLiteral("box");
    return kind + QStringLiteral(": ") + request.prompt.section(u' ', 0, 5);
}

// The popup editor's items as "kind|caption|command".
QStringList filedItems(Program& p) {
    QStringList items;
    frm_popups& editor = p.popupsWindow();
    for (const QString& k : frm_popups::kinds()) {
        for (int row = 0; row < editor.captionList(k)->count(); ++row)
            items << k + u'|' + editor.captionList(k)->item(row)->text() + u'|' +
                         editor.commandList(k)->item(row)->text();
    }
    return items;
}

} // namespace

class TestPopupWizard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answers_data();
    void answers();
    void promptsExactly();
    void captionBoxShowsItsPromptAsWritten();
    void popupCommandStartsItForAKind_data();
    void popupCommandStartsItForAKind();

private:
    TempProgramFolder m_folder;
};

void TestPopupWizard::answers_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<QString>("filed"); // "kind|caption|command", "" for nothing
    QTest::addColumn<int>("prompts");

    QTest::newRow("No, No, Yes: nick list")
        << "" << Boxes{vbOK, vbNo, vbNo, vbYes} << Inputs{" &Op ", " /op $1 "}
        << "nicklist|&Op|/op $1" << 6;
    QTest::newRow("Yes at the query question")
        << "" << Boxes{vbOK, vbNo, vbNo, vbNo, vbYes} << Inputs{"Whois", "/whois $1"}
        << "query|Whois|/whois $1" << 7;
    QTest::newRow("No to everything")
        << "" << Boxes{vbOK, vbNo, vbNo, vbNo, vbNo, vbOK} << Inputs{} << "" << 6;
    QTest::newRow("kind given") << " server " << Boxes{} << Inputs{"List", "/list"}
                                << "server|List|/list" << 2;
    QTest::newRow("empty command, No, then a command")
        << "channel" << Boxes{vbNo} << Inputs{"Hi", "  ", "/say hi"} << "channel|Hi|/say hi" << 4;
    QTest::newRow("empty command, Yes")
        << "channel" << Boxes{vbYes} << Inputs{"Hi", ""} << "channel|Hi|" << 3;
    QTest::newRow("cancelled command box, Yes")
        << "channel" << Boxes{vbYes} << Inputs{"Hi", "<cancel>"} << "channel|Hi|" << 3;
    QTest::newRow("empty command, Cancel")
        << "channel" << Boxes{vbCancel} << Inputs{"Hi", ""} << "" << 3;
    QTest::newRow("empty caption") << "channel" << Boxes{} << Inputs{"   "} << "" << 1;
    QTest::newRow("cancelled caption") << "channel" << Boxes{} << Inputs{"<cancel>"} << "" << 1;
}

void TestPopupWizard::answers() {
    QFETCH(QString, kind);
    QFETCH(Boxes, boxes);
    QFETCH(Inputs, inputs);
    QFETCH(QString, filed);
    QFETCH(int, prompts);
    Program p(m_folder.path());
    ScriptedAnswerer answerer;
    for (const int answer : boxes)
        answerer.queueMessageBoxAnswer(answer);
    for (const QString& input : inputs) {
        if (input == u"<cancel>")
            answerer.queueInputCancel();
        else
            answerer.queueInput(input);
    }

    AddPopupWizard(p, kind);

    QCOMPARE(filedItems(p), filed.isEmpty() ? QStringList{} : QStringList{filed});
    QStringList asked;
    for (const DialogRequest& request : answerer.requests())
        asked << shortly(request);
    QVERIFY2(asked.size() == prompts, qPrintable(asked.join(QStringLiteral(" / "))));
}

void TestPopupWizard::promptsExactly() {
    Program p(m_folder.path());
    ScriptedAnswerer answerer;
    for (const int answer : {vbOK, vbNo, vbNo, vbNo, vbYes, vbNo, vbYes})
        answerer.queueMessageBoxAnswer(answer);
    for (const char* input : {"Cap", "", ""})
        answerer.queueInput(QString::fromLatin1(input));
    AddPopupWizard(p, QString());

    struct Expected {
        DialogRequest::Kind kind;
        QString prompt;
        QString title;
        int buttons;
        QString defaultText;
    };
    const QList<Expected> expected{
        {DialogRequest::MessageBox, kKindQuestion, "Parlone", vbOKOnly, {}},
        {DialogRequest::MessageBox,
         "Do you want the popup menu to be in the server window?",
         "Parlone",
         324,
         {}},
        {DialogRequest::MessageBox,
         "Do you want the popup menu to be in the channel window?",
         "Parlone",
         324,
         {}},
        {DialogRequest::MessageBox,
         "Do you want the popup menu to be in the channel nickname list?",
         "Parlone",
         324,
         {}},
        {DialogRequest::MessageBox,
         "Do you want the popup menu to be in the query window?",
         "Parlone",
         324,
         {}},
        {DialogRequest::InputBox, kCaptionPrompt, "Add Popup", vbOKOnly, "Default Popup"},
        {DialogRequest::InputBox, kCommandPrompt, "Add Popup", vbOKOnly, {}},
        {DialogRequest::MessageBox, kNoCommand, "Popup Question?", vbYesNoCancel | vbQuestion, {}},
        {DialogRequest::InputBox, kCommandPrompt, "Add Popup", vbOKOnly, {}},
        {DialogRequest::MessageBox, kNoCommand, "Popup Question?", vbYesNoCancel | vbQuestion, {}},
    };
    const QList<DialogRequest>& asked = answerer.requests();
    QCOMPARE(asked.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        const Expected& e = expected.at(i);
        QCOMPARE(asked.at(i).kind, e.kind);
        QCOMPARE(asked.at(i).prompt, e.prompt);
        QCOMPARE(asked.at(i).title, e.title);
        QCOMPARE(asked.at(i).defaultText, e.defaultText);
        if (e.kind == DialogRequest::MessageBox)
            QCOMPARE(asked.at(i).buttons, e.buttons);
    }
    QCOMPARE(p.popupsWindow().pop_query_list->count(), 1);

    // All four answered No: the closing box is information only.
    ScriptedAnswerer allNo;
    for (const int answer : {vbOK, vbNo, vbNo, vbNo, vbNo})
        allNo.queueMessageBoxAnswer(answer);
    AddPopupWizard(p, QString());
    QCOMPARE(allNo.requests().constLast().prompt,
             QStringLiteral("Popup will not be added as you answered no to all the responses"));
    QCOMPARE(allNo.requests().constLast().buttons, vbOKOnly | vbInformation);
}

// The real caption box, looked at while it waits: the prompt shows as it is
// written, its "&" as itself rather than an access key, wrapped inside a box
// that fits the screen.
void TestPopupWizard::captionBoxShowsItsPromptAsWritten() {
    Program p(m_folder.path());
    bool found = false;
    bool plain = false;
    bool accessKey = true;
    bool wraps = false;
    int boxWidth = 0;
    int screenWidth = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        for (QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text() != kCaptionPrompt)
                continue;
            found = true;
            plain = label->textFormat() == Qt::PlainText;
            // Measured as a label that never had an access key measures the
            // text; one that takes "&" for an access key leaves it out.
            QLabel plainLabel;
            plainLabel.setTextFormat(Qt::PlainText);
            plainLabel.setWordWrap(label->wordWrap());
            plainLabel.setFont(label->font());
            plainLabel.setText(label->text());
            accessKey = label->buddy() != nullptr ||
                        label->heightForWidth(400) != plainLabel.heightForWidth(400) ||
                        label->sizeHint() != plainLabel.sizeHint();
            wraps = label->wordWrap();
        }
        boxWidth = box->frameGeometry().width();
        screenWidth = box->screen()->availableGeometry().width();
        box->reject();
    });
    AddPopupWizard(p, QStringLiteral("server"));
    QVERIFY(found);
    QVERIFY(plain);
    QVERIFY(!accessKey);
    QVERIFY(wraps);
    QVERIFY2(boxWidth <= screenWidth,
             qPrintable(QStringLiteral("%1 > %2").arg(boxWidth).arg(screenWidth)));
    QCOMPARE(filedItems(p), QStringList());
}

void TestPopupWizard::popupCommandStartsItForAKind_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("filed"); // "kind|caption|command", "" for nothing

    QTest::newRow("nick list") << "/popup add nicklist"
                               << "nicklist|Op|/op $1";
    QTest::newRow("kind in capitals") << "/POPUP ADD Query"
                                      << "query|Op|/op $1";
    QTest::newRow("other kind") << "/popup add window"
                                << "";
    QTest::newRow("no kind") << "/popup add"
                             << "";
}

void TestPopupWizard::popupCommandStartsItForAKind() {
    QFETCH(QString, line);
    QFETCH(QString, filed);
    Program p(m_folder.path());
    ScriptedAnswerer answerer;
    answerer.queueInput(QStringLiteral("Op"));
    answerer.queueInput(QStringLiteral("/op $1"));
    ParseLine(p, line);
    QCOMPARE(filedItems(p), filed.isEmpty() ? QStringList{} : QStringList{filed});
    // Without a kind nothing is asked at all.
    if (filed.isEmpty())
        QCOMPARE(answerer.requests().size(), 0);
}

PARLONE_TEST_MAIN(TestPopupWizard)
#include "tst_popupwizard.moc"
