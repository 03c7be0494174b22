#include "core/PopupWizard.h"

#include "config/frm_popups.h"
#include "core/Program.h"
#include "platform/dialogs/Dialogs.h"

using namespace platform;

namespace {

// The kind asked for when none is given; "" when every question is answered
// No.
QString askKind() {
    MsgBox(QStringLiteral("Please answer the relevant question as to whether it's a server, "
                          "channel window, nickname list or  query popup you want to add"));
    static const struct {
        const char* question;
        const char* kind;
    } kQuestions[] = {
        {"Do you want the popup menu to be in the server window?", "server"},
        {"Do you want the popup menu to be in the channel window?", "channel"},
        {"Do you want the popup menu to be in the channel nickname list?", "nicklist"},
        {"Do you want the popup menu to be in the query window?", "query"},
    };
    for (const auto& q : kQuestions) {
        if (MsgBox(QString::fromLatin1(q.question), vbYesNo | vbInformation | vbDefaultButton2) ==
            vbYes)
            return QString::fromLatin1(q.kind);
    }
    MsgBox(QStringLiteral("Popup will not be added as you answered no to all the responses"),
           vbOKOnly | vbInformation);
    return {};
}

} // namespace

void AddPopupWizard(Program& p, const QString& givenKind) {
    QString kind = givenKind.trimmed();
    if (kind.isEmpty()) {
        kind = askKind();
        if (kind.isEmpty())
            return;
    }

    const QString title = QStringLiteral("Add Popup");
    const QString caption =
        InputBox(QStringLiteral("Please enter a name for the popup, this will be visible when the "
                                "menu is shown.\r\nExample: Display /LIST"
                                "Hint: Use the & (ampersand) character to denote a hotkey, so you "
                                "can bring up the menu and press the corresponding key, eg. &D"),
                 title, QStringLiteral("Default Popup"))
            .trimmed();
    if (caption.isEmpty())
        return;

    QString command;
    for (;;) {
        command = InputBox(QStringLiteral("Please enter the responding command for this popup.\r\n"
                                          "Example: /connect"),
                           title)
                      .trimmed();
        if (!command.isEmpty())
            break;
        const int answer =
            MsgBox(QStringLiteral("Your response was to have no command, are you sure.\r\n"
                                  "Click Yes to continue, No to retry or Cancel to exit"),
                   vbYesNoCancel | vbQuestion, QStringLiteral("Popup Question?"));
        if (answer == vbYes)
            break;
        if (answer != vbNo)
            return;
    }
    p.popupsWindow().AddPopUp(kind, caption, command);
}
