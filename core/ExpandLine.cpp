#include "core/ExpandLine.h"

#include "connection/frm_main.h"
#include "core/Choosers.h"
#include "core/CommandSupport.h"
#include "core/CommandWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ProgramVersion.h"
#include "core/TextUtils.h"
#include "core/mod_set.h"
#include "platform/dialogs/Dialogs.h"
#include "windows/frm_chan.h"

#include <QListWidget>

namespace {

QString scriptArgsFrom(const Program& p, qsizetype first) {
    QString text;
    for (qsizetype k = first; k <= p.scriptArgCount; ++k)
        text += p.BatchArgs[k] + u' ';
    return text;
}

// The nick of the window: a query's partner, or the nick selected in a
// channel's list (without its status prefixes); "" for any other window and
// for a channel with no nick selected.
QString nickOf(const Program& p, const Form* window) {
    if (!window)
        return {};
    const QString tag = window->Tag();
    if (tag.startsWith(u'?'))
        return tag.mid(1);
    if (IsChannelWindow(window)) {
        if (const auto* chan = qobject_cast<const frm_chan*>(window)) {
            const QListWidgetItem* item = chan->list_nicks->currentItem();
            if (item && item->isSelected())
                return p.serverSyntax().nickOf(item->text().trimmed());
        }
    }
    return {};
}

// The value of identifier `w` (upper case), followed by its blank, which an
// empty value keeps so that the words after it stay in place; only a
// cancelled file prompt leaves no trace. nullopt when `w` is no identifier.
// `prompt` is the text of a "$?=" word.
std::optional<QString> identifierValue(Program& p, const QString& w, const QString& prompt,
                                       const QString& tag) {
    const auto withBlank = [](const QString& value) { return value + u' '; };
    if (w == u"$$1" || w == u"$$2" || w == u"$$3")
        return withBlank(p.BatchArgs[w.at(2).digitValue()]);
    if (w == u"$$1-" || w == u"$$2-" || w == u"$$3-")
        return scriptArgsFrom(p, w.at(2).digitValue());
    if (w == u"$?=") {
        return withBlank(
            platform::InputBox(prompt, QStringLiteral("Question"), QString()).trimmed());
    }
    if (w == u"$?COLOR") {
        ShowColorChooser(p);
        return withBlank(QString::number(p.PickedColorIndex));
    }
    if (w == u"$?FONT") {
        ShowFontChooser(p);
        return withBlank(p.PickedFont.trimmed());
    }
    if (w == u"$?FILE") {
        const QString file = platform::GetOpenFileName(QStringLiteral("*.*"));
        return file.isEmpty() ? QString() : withBlank(file);
    }
    if (w == u"$MYIP")
        return withBlank(p.hasMainFrame() ? p.mainFrame().Yarv1->LocalAddress() : QString());
    if (w == u"$TIME")
        return withBlank(p.clock.now().time().toString(QStringLiteral("HH:mm:ss")));
    if (w == u"$DATE")
        return withBlank(p.clock.now().date().toString(QStringLiteral("MM-dd-yyyy")));
    if (w == u"$WEEKDAY") // Sunday is 1, Saturday 7
        return withBlank(QString::number(p.clock.now().date().dayOfWeek() % 7 + 1));
    if (w == u"$VERSION") {
        const ProgramVersion v = CurrentVersion();
        return withBlank(
            QStringLiteral("Parlone v%1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision));
    }
    if (w == u"$CHAN") {
        const Form* window = CommandWindow(p, tag);
        return withBlank(IsChannelWindow(window) ? window->Tag() : QString());
    }
    if (w == u"$NICK")
        return withBlank(nickOf(p, CommandWindow(p, tag)));
    return std::nullopt;
}

} // namespace

QString ExpandLine(Program& p, const QString& line, const QString& tag) {
    SplitWords(p.words, line);
    // The prompts below let other events run while they wait, and those may
    // split lines of their own.
    const QStringList words = p.words.toList();

    QString out = words.value(0) + u' ';
    for (qsizetype i = 1; i < words.size(); ++i) {
        const QString& word = words.at(i);
        QString w = word.trimmed().toUpper();
        QString prompt;
        if (w.startsWith(u"$?=")) {
            prompt = word.trimmed().mid(3).trimmed();
            if (prompt.isEmpty())
                prompt = QStringLiteral("Enter parameter here");
            w = QStringLiteral("$?=");
        }
        if (const std::optional<QString> value = identifierValue(p, w, prompt, tag))
            out += *value;
        else if (w.startsWith(u'%'))
            out += Setting(p, w.mid(1)) + u' '; // a read: no effect
        else if (!word.startsWith(u'$'))
            out += word + u' ';
        // No command needs more: an expanded line is cut here, so lines that
        // expand into copies of themselves cannot grow without bound.
        if (out.size() > MaxExpandedLine) {
            out.truncate(MaxExpandedLine);
            break;
        }
    }
    return out;
}
