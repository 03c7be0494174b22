#pragma once
// What a conversation window (channel, query, DCC chat) offers to the rest of
// the program: showing one line. Code that holds a window asks for this
// interface; a window that lacks it has no line display of its own, and its
// lines go to the server window instead.

#include <QString>

class ConversationWindow {
public:
    virtual ~ConversationWindow() = default;
    // Shows one line with the optional timestamp and the colour (an RGB
    // number as decimal text; "" is the window's own text colour). A text
    // that is empty after trimming shows nothing.
    virtual void disp(const QString& txt, bool timestamp = false,
                      const QString& col = QString()) = 0;
};
