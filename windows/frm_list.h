#pragma once
// The channel-list window: the server's channels, one line each, as the
// LIST replies bring them (the frame fills it). One instance, tagged "/LIST"
// like its panel; closing it removes the panel and unloads it, and the next
// list command makes it afresh. A click shows the line in full as the
// list's tooltip; a double click joins the channel the line begins with.
// A listing keeps at most MaxChannels channels: a server that goes on
// gets one last line saying the list was cut, and nothing more.

#include "core/Form.h"

class FramePlacement;
class QListWidget;
class QListWidgetItem;

class frm_list : public Form {
    Q_OBJECT
public:
    explicit frm_list(Program& program);

    // The most channels one listing keeps.
    static constexpr int MaxChannels = 100000;

    // One item per channel: its name, its number of users and its topic.
    // Every item has the one height of the list's font, so tens of
    // thousands of them fill and scroll quickly.
    QListWidget* List1 = nullptr;

    // Adds one channel's line to the listing. Past the bound the first
    // line beyond it becomes the cut line, and the others are dropped.
    void addChannel(const QString& line);
    // Test seam: the bound.
    void setMaxChannels(int channels) { m_maxChannels = channels; }

    // Removes the "/LIST" panel and unloads the window.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // The placement rules of the frame's children, then the list over the
    // window: (0, 0), the window's width less 100 by its height less 350.
    void Form_Resize();

protected:
    void attachToFrame() override;

private:
    void Form_Activate();
    void List1_Click(QListWidgetItem* item);
    void List1_DblClick(QListWidgetItem* item);

    FramePlacement* m_placement;
    int m_maxChannels = MaxChannels;
};
