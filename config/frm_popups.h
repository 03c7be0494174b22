#pragma once
// The popup-menu editor: the user's popup items for the four kinds of menu
// (server window, query windows, channel consoles, channel nick lists). Each
// kind is a pair of lists whose rows at the same index form one item: the
// caption shown in the menu and the command it runs. These lists are the
// program's one store of popup items. One instance, loaded hidden on first
// use.

#include "core/Form.h"

#include <QStringList>

#include <array>

class FramePlacement;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;

class frm_popups : public Form {
    Q_OBJECT
public:
    explicit frm_popups(Program& program);

    // Closing saves the lists to popups.ini and reads them back, writes
    // popups.win, hides the window and removes its panel; the window stays
    // loaded unless the program is ending (then nothing is saved: the exit
    // has done that).
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // Applies one record of popups.win.
    void FSet(const QString& key, const QString& value);
    // Becoming the active child presses its panel and brings a window
    // shrunk to almost nothing back to a usable size.
    void Form_Activate();
    // Minimised, the window gives way to the window of the panel before its
    // own; in the normal state it keeps clear of the frame's edges.
    void Form_Resize();

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
    // "Remove" of a kind's page: the selected item goes from both lists and
    // the menus of that kind are rebuilt. Without a selection nothing goes;
    // the server page then rebuilds nothing either.
    void removeSelected(const QString& kind);

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
    // "Menu Items" and "Resulting command:" of each page, in page order.
    std::array<QLabel*, 8> lbl_gen{};
    // "Add" and "Remove" of the server, query, console and nick-list pages.
    QPushButton* Command10 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command9 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command8 = nullptr;

protected:
    // popups.win is read when the editor first goes into the frame.
    void attachToFrame() override;

private:
    FramePlacement* m_placement;
    QWidget* makePage(const QString& kind, int labels, QListWidget*& captions,
                      QListWidget*& commands, QPushButton*& add, QPushButton*& remove);
};
