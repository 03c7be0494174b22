#include "windows/frm_chan.h"

#include "console/absRichEdit.h"
#include "platform/window/Twips.h"

#include <QLineEdit>
#include <QListWidget>

#include <algorithm>

using namespace platform;

namespace {

// The nick list's width as designed, in twips.
constexpr int kNickListWidth = 1935;

} // namespace

frm_chan::frm_chan(Program& program)
    : ConversationForm(program, {QStringLiteral("channel"), QStringLiteral("WIN_CHAN_")}) {
    list_nicks = new QListWidget(this);
    list_nicks->resize(TwipsToPixelsX(kNickListWidth), list_nicks->height());
}

void frm_chan::disp(const QString& txt, bool timestamp, const QString& col) {
    dispLine(txt, timestamp, col);
}

void frm_chan::layOut() {
    const int w = Width();
    const int h = Height();
    if (w > 1000 && h > 1000) {
        const int listWidth = PixelsToTwipsX(list_nicks->width());
        const int line = PixelsToTwipsY(commandline->height());
        const int consoleWidth = std::max(w - listWidth - 100, 0);
        const int consoleHeight = std::max(h - 400 - line, 0);
        console->setGeometry(0, 0, TwipsToPixelsX(consoleWidth), TwipsToPixelsY(consoleHeight));
        commandline->setGeometry(0, TwipsToPixelsY(consoleHeight), TwipsToPixelsX(w),
                                 commandline->height());
        list_nicks->setGeometry(TwipsToPixelsX(consoleWidth), 0, list_nicks->width(),
                                TwipsToPixelsY(consoleHeight));
    }
    caretToEnd();
}
