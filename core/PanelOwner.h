#pragma once
// A window that owns its switchbar panel outright (a DCC chat, whose tag is
// a bare nick that may equal another window's): it is reached through that
// panel, never by matching the panel's text against tags.

namespace platform {
class SwitchBarPanel;
}

class PanelOwner {
public:
    virtual ~PanelOwner() = default;
    // The window's own panel; nullptr when it has none (any more).
    virtual platform::SwitchBarPanel* ownPanel() const = 0;
};
