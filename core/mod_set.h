#pragma once
// The settings accessor: the one way the program reads or changes a setting,
// and the defaults pass that completes the settings at start-up.
//
// A write stores the key's text as its family demands and applies it at once:
// the setup dialog's control or preview follows, look changes go to the open
// windows of their kind (the server window, channel windows other than those
// whose GLOBALUPDATE reads "TRUE", query windows), and the on-top and tray
// keys move the main frame.

#include <QString>

class Program;
class ConversationForm;
class frm_chan;

// Reads or writes the setting `key`. Both arguments are rewritten in the
// caller: the key trimmed and upper case, the value trimmed, and further for
// some keys (a look colour becomes its colour number, PROFILE_NICKNAME loses
// one leading "@" or "+", a TRUE/FALSE flag is upper-cased).
//
// An empty value reads: the result is the stored text, and nothing else
// happens. Otherwise the key's store runs and the result is "". A key that is
// not a settings key, and a "0"/"1" switch given another value, are reported
// in the server window as "Element not found: " & key.
//
// A failing menu call of the frame's system-menu control (platform::ComError)
// passes to the caller.
QString Setting(Program& program, QString& key, QString& value);
// The same for callers that do not need the rewritten arguments.
QString Setting(Program& program, const QString& key, const QString& value = {});

// Gives a new query window (in the frame or on the desktop) the query looks
// stored in the settings (the console's and the command line's colours,
// faces and sizes), as a change of one of them reaches every open window
// tagged "?". A look not set stays as the window has it.
void ApplyQueryLooks(Program& program, ConversationForm& window);

// Gives every key that has a default and is still empty its default, through
// Setting; where the walkthrough key comes in the pass and is still empty, asks
// whether to start the setup walkthrough.
void SetDefaults(Program& program);

// Gives a channel window being loaded every channel look that is set, as a
// change of each would give it.
void ApplyChannelLooks(Program& program, frm_chan& chan);
