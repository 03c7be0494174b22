#pragma once
// The popup-menu editor: the user's popup items for the four kinds of menu
// (server window, query windows, channel consoles, channel nick lists). Each
// kind is a pair of lists whose rows at the same index form one item: the
// caption shown in the menu and the command it runs. These lists are the
// program's one store of popup items. One instance, loaded hidden on first
// use.

#include "core/Form.h"

#include <QStringList>

class QListWidget;
class QTabWidget;

class frm_popups : public Form {
    Q_OBJECT
public:
    explicit frm_popups(Program& program);

    // Closing hides the window: its lists are the program's only copy of
    // the popup items.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    // The kind words in the order the popup file groups them.
    static const QStringList& kinds();

    // Adds an item to the lists of `kind` (trimmed and lower-cased in the
    // caller's variable: "server", "query", "channel" or "nicklist"; any other
    // kind is ignored). A caption that the kind already has, compared trimmed
    // and without regard to case, is ignored; otherwise caption and command
    // are appended as they are, and the menus of the open windows of that
    // kind are rebuilt.
    void AddPopUp(QString& kind, const QString& caption, const QString& command);
    void AddPopUp(const QString& kind, const QString& caption, const QString& command);

    // The caption list and the command list of a kind word; nullptr for a word
    // that is not a kind.
    QListWidget* captionList(const QString& kind) const;
    QListWidget* commandList(const QString& kind) const;
    // Empties all eight lists.
    void clearLists();
    // Rebuilds the menus that show the items of `kind`: the server window's,
    // or those of the open channel windows (channel and nick list) or of the
    // windows whose tag starts with "?" (query, detached query and its
    // hidden twin).
    void refreshMenus(const QString& kind);

    QTabWidget* SSTab1 = nullptr;
    QTabWidget* SSTab2 = nullptr;
    QListWidget* pop_server_list = nullptr;
    QListWidget* pop_server_command = nullptr;
    QListWidget* pop_query_list = nullptr;
    QListWidget* pop_query_command = nullptr;
    QListWidget* pop_chan_list = nullptr;
    QListWidget* pop_chan_command = nullptr;
    QListWidget* pop_nick_list = nullptr;
    QListWidget* pop_nick_command = nullptr;
};
