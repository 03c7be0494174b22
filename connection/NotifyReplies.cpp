#include "connection/NotifyReplies.h"

#include "connection/Alerts.h"
#include "connection/EventSettings.h"
#include "connection/mod_TrayIcon.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_notify.h"

#include <QListWidget>

using events::setting;
using platform::Yarv;

namespace {

QString key(const QString& nick) {
    return nick.trimmed().toLower();
}

// The first row of `list` whose entry is `nick` (trimmed, in any case); -1
// when none is.
int rowOf(const QListWidget& list, const QString& nick) {
    const QString wanted = key(nick);
    for (int i = 0; i < list.count(); ++i) {
        if (key(list.item(i)->text()) == wanted)
            return i;
    }
    return -1;
}

} // namespace

NotifyReplies::NotifyReplies(Program& program, Yarv& irc, QObject* parent)
    : QObject(parent), m_program(program) {
    connect(&irc, &Yarv::IsonReply, this, &NotifyReplies::Yarv1_IsonReply);
}

void NotifyReplies::Yarv1_IsonReply(const QString& first, const QString& onlineNicks) {
    // The alerts name the buddy; the own nick is of no use here.
    Q_UNUSED(first);
    if (m_program.closing)
        return;
    if (const std::optional<QString> round = m_program.notifyWindow().takeReply(onlineNicks))
        judge(*round);
}

void NotifyReplies::judge(const QString& onlineNicks) {
    Program& p = m_program;
    frm_notify& notify = p.notifyWindow();
    SplitWords(p.words, onlineNicks);
    const QStringList words = p.words.toList();

    for (const QString& word : words) {
        if (word.trimmed().isEmpty() || rowOf(*notify.List1, word) < 0 ||
            rowOf(*notify.l_online, word) >= 0)
            continue;
        notify.l_online->addItem(word);
        announce(word, true);
        if (const int row = rowOf(*notify.l_offline, word); row >= 0)
            delete notify.l_offline->takeItem(row);
    }

    // Who is online now, compared as the server spells the nicks, in any case.
    QStringList present;
    for (const QString& word : words)
        present.append(word.toLower());
    for (int i = 0; i < notify.l_online->count();) {
        const QString entry = notify.l_online->item(i)->text();
        if (entry.isEmpty() || present.contains(entry.toLower())) {
            ++i;
            continue;
        }
        // The entries before it were there; the next one moves up to i.
        delete notify.l_online->takeItem(i);
        announce(entry, false);
    }

    for (int i = 0; i < notify.List1->count(); ++i) {
        const QString buddy = notify.List1->item(i)->text();
        if (rowOf(*notify.l_online, buddy) < 0 && rowOf(*notify.l_offline, buddy) < 0)
            notify.l_offline->addItem(buddy);
    }
    UpdateTrayStatus(p);
}

void NotifyReplies::announce(const QString& buddy, bool online) {
    Program& p = m_program;
    ServerEcho(
        p, buddy + (online ? QStringLiteral(" has joined IRC.") : QStringLiteral(" has left IRC.")),
        setting(p, "WIN_SERVER_NICKCOLOR"), 0);
    if (!alertsWanted(p))
        return;
    RaiseAlert(p, BuddyAlert(p, buddy, online));
    UpdateTrayStatus(p);
}
