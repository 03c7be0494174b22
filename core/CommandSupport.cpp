#include "core/CommandSupport.h"

#include "connection/frm_main.h"
#include "core/ConversationWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "windows/frm_server.h"

platform::Yarv* CommandIrc(Program& p) {
    return p.hasMainFrame() ? p.mainFrame().Yarv1 : nullptr;
}

QString OwnNick(const Program& p) {
    return p.settings.value(QStringLiteral("PROFILE_NICKNAME"));
}

bool IsServerWindow(Program& p, const Form* window) {
    return window != nullptr && p.hasServerWindow() && window == &p.serverWindow();
}

bool IsChannelWindow(const Form* window) {
    // The default instance, loaded before any join, has no channel yet.
    return dynamic_cast<const ChannelWindow*>(window) != nullptr && !window->Tag().isEmpty();
}

bool IsQueryWindow(const Form* window) {
    return window != nullptr && window->Tag().startsWith(u'?');
}

ConversationWindow* LineDisplay(Form* window) {
    return dynamic_cast<ConversationWindow*>(window);
}
