// Text from outside is shown as plain text: markup in a nick, a topic, a
// server description or an imported line shows as the characters it is made
// of in every box, label, caption and tip, and nothing it names is opened.

#include "config/ServerList.h"
#include "config/frm_setup.h"
#include "config/mod_aquire_mirc.h"
#include "config/mod_servers.h"
#include "core/Program.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/window/ToolTip.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"

#include <QComboBox>
#include <QDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTextDocument>
#include <QTimer>

namespace {

const QString Markup = QStringLiteral("<b>x</b><img src=\"x\">");

// Whether a label shows `text` as the characters it is made of.
bool showsLiterally(const QLabel& label, const QString& text) {
    return label.text() == text &&
           (label.textFormat() == Qt::PlainText ||
            (label.textFormat() == Qt::AutoText && !Qt::mightBeRichText(text)));
}

// Whether the box on screen shows `text` literally in one of its labels.
bool boxShowsLiterally(const QWidget& box, const QString& text) {
    const QList<QLabel*> labels = box.findChildren<QLabel*>();
    return std::any_of(labels.cbegin(), labels.cend(),
                       [&text](const QLabel* label) { return showsLiterally(*label, text); });
}

// The box of each kind that is open now, not waiting.
template <typename Box> Box* openBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<Box*>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

} // namespace

class TestPlainText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void boxes_data();
    void boxes();
    void serverInformationLabels_data();
    void serverInformationLabels();
    void toolTips_data();
    void toolTips();
    void captionOfATopic();
};

void TestPlainText::boxes_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind : {"message box", "input box", "message box that does not wait",
                             "input box that does not wait"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void TestPlainText::boxes() {
    QFETCH(QString, kind);
    const QString text = QStringLiteral("bob said: ") + Markup;
    bool shown = false;
    if (kind.endsWith(u"does not wait")) {
        if (kind.startsWith(u"message"))
            platform::ShowMsgBox(text);
        else
            platform::ShowInputBox(text, QString(), QString(), {});
        QDialog* box = kind.startsWith(u"message") ? static_cast<QDialog*>(openBox<QMessageBox>())
                                                   : openBox<QInputDialog>();
        QVERIFY(box);
        shown = boxShowsLiterally(*box, text);
        box->reject();
    } else {
        // Looked at while it waits, then closed.
        QTimer::singleShot(0, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                shown = boxShowsLiterally(*box, text);
                static_cast<QDialog*>(box)->reject();
            }
        });
        if (kind.startsWith(u"message"))
            platform::MsgBox(text);
        else
            platform::InputBox(text);
    }
    QVERIFY(shown);
}

void TestPlainText::serverInformationLabels_data() {
    QTest::addColumn<bool>("imported");
    QTest::newRow("from the server list") << false;
    QTest::newRow("imported from another client's file") << true;
}

void TestPlainText::serverInformationLabels() {
    QFETCH(bool, imported);
    TempProgramFolder folder;
    Program p(folder.path());
    const QString host = QStringLiteral("irc.example.net");
    if (imported) {
        const QString file = folder.write(
            QStringLiteral("other.ini"),
            ("[servers]\r\nn0=" + Markup + "SERVER:" + host + ":6667GROUP:" + Markup + "\r\n")
                .toUtf8());
        QCOMPARE(ImportMircServers(p.servers, file).added, 1);
    } else {
        p.servers.AddServer(host, QStringLiteral("6667"), Markup, Markup);
    }
    frm_setup& setup = p.setupDialog();
    FillServerCombo(p, QStringLiteral("1"));
    setup.List1->setCurrentIndex(0);
    QVERIFY(showsLiterally(*setup.txt_si_name, Markup));
    QVERIFY(showsLiterally(*setup.txt_si_style, Markup));
    QVERIFY(showsLiterally(*setup.txt_si_url, host));
}

void TestPlainText::toolTips_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("markup") << Markup;
    QTest::newRow("plain") << QStringLiteral("bob (3) messages waiting");
    QTest::newRow("ampersand and angle") << QStringLiteral("a < b && c > d");
}

void TestPlainText::toolTips() {
    QFETCH(QString, text);
    // What the tip shows once Qt has rendered it.
    const QString tip = platform::PlainToolTip(text);
    QTextDocument rendered;
    if (Qt::mightBeRichText(tip))
        rendered.setHtml(tip);
    else
        rendered.setPlainText(tip);
    QCOMPARE(rendered.toPlainText(), text);
}

void TestPlainText::captionOfATopic() {
    TempProgramFolder folder;
    Program p(folder.path());
    auto* chan = new frm_chan(p);
    chan->setTag(QStringLiteral("#x"));
    chan->setTopic(Markup);
    QCOMPARE(chan->Caption(), QStringLiteral("#x [0] ") + Markup);
}

PARLONE_TEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
