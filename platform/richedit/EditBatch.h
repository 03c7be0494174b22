#pragma once
// The program's writes to a text box, gathered into one edit of its
// document. Inside one edit the document's text, formats and cursors are
// exact after every write, but its layout hears of the changes only when the
// edit ends; so a flood of writes costs one layout, one scroll and one paint
// per batch instead of per write.
//
// A batch is due on the next turn of the event loop, and no sooner than
// 40 ms after the previous batch closed (a flood so gets at most 25 of them a
// second). Then a box that is shown asks to be painted, and the batch closes
// just before its window paints, so that the text laid out is the text
// painted in that frame; a box that is not shown closes it at once. `due`
// asks the box to close the batch. The box closes it sooner wherever an
// answer needs the layout.
//
// The program's writing is not kept for undo (it ends the user's undo
// history, as a write that cannot be undone does): a console that is written
// to all day would otherwise keep every insertion for ever.

#include <QBasicTimer>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTextCursor>

#include <functional>

class QTextDocument;
class QWidget;

namespace platform {

class EditBatch : public QObject {
public:
    EditBatch(QTextDocument& document, QWidget& view, std::function<void()> due);
    ~EditBatch() override;
    EditBatch(const EditBatch&) = delete;
    EditBatch& operator=(const EditBatch&) = delete;

    bool isOpen() const { return m_open; }
    // Opens the batch when it is closed; the cursor the batch writes with.
    QTextCursor& open();
    // Ends the edit: the document's layout and views hear of the changes.
    // False when no batch was open.
    bool close();

protected:
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextDocument& m_document;
    QWidget& m_view;
    std::function<void()> m_due;
    QTextCursor m_writer;
    bool m_open = false;
    bool m_undo = true;
    QBasicTimer m_timer;
    // Closes the batch on the turn after a paint was asked for, should the
    // paint not come.
    QBasicTimer m_fallback;
    QElapsedTimer m_sinceClose;
    // The window whose painting the batch waits for.
    QPointer<QWidget> m_window;
};

} // namespace platform
