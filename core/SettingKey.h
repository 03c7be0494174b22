#pragma once

#include <QLatin1StringView>

// One row of the settings key table: what a key holds, how a write to it is
// stored and applied, its default, the setup control it mirrors into, and
// where it goes in the settings file. The table itself is SettingsKeys.

// What kind of text a key holds.
enum class SettingKind {
    Nick,        // a nickname (the notify-list action key)
    Text,        // any text, stored after trimming
    TwipsNumber, // a number of twips, as text
    TrueFalse,   // "TRUE" or "FALSE", kept upper case
    Port,        // a port number, as text
    Host,        // a host name or address
    NumberBox,   // a number shown in a check box: "0" clear, "1" ticked
    Switch,      // "0" or "1"; any other value is refused
    ZeroOneText, // "0"/"1" by use, but stored as plain text
    LookColor,   // a window part's back or fore colour
    EventColor,  // the colour of one kind of line
    Face,        // a font face name
    Size,        // a font size in points, as text
    Folder,      // a folder path
    Ignored,     // recognised, stores nothing
};

// How a write to a key is stored and applied; the numbers are the order in
// which the accessor's families are laid out and are relied on elsewhere.
enum class StoreProcedure {
    PlainText = 1,       // stored unchanged
    MirroredText = 2,    // stored and mirrored into a setup text box
    Folder = 3,          // stored with a trailing "\" and mirrored
    NumericCheckBox = 4, // stored, setup check box set to its number
    Switch = 5,          // "0"/"1" only, setup check box follows
    MainFormOnTop = 6,   // stored; "TRUE"/"FALSE" also move the frame
    TrueFalseFlag = 7,   // upper-cased, "TRUE"/"FALSE" only
    EventColor = 8,      // palette name or index turned into its colour
    LookColor = 9,       // converted colour, pushed to open windows
    LookFont = 10,       // face, checked and pushed to open windows
    LookSize = 11,       // size, pushed when positive
    NotifyEntry = 12,    // appended to the notify list, nothing stored
    Ignored = 13,        // nothing stored, nothing shown
};

// How a key's stored text is written to the settings file.
enum class SaveForm {
    NotSaved, // never written
    Trimmed,  // the stored text, leading and trailing spaces removed
    Raw,      // the stored text as it stands
    Color,    // the stored colour number written as its palette index
};

struct SettingKey {
    // The key exactly as the program spells it (upper case; one key has a
    // blank inside).
    QLatin1StringView name;
    SettingKind kind;
    StoreProcedure store;
    // Given by the defaults pass when the key is still empty; "" when none.
    QLatin1StringView defaultValue;
    // The setup control or preview a write updates, such as "profile(0)",
    // "chk_md(4)" or "UpdateSetupChan"; "" when none.
    QLatin1StringView setupBinding;
    // Whether the settings record has a text field for the key.
    bool ownsField;
    // 1-based position in the settings file; -1 when not saved. The
    // notify-list key comes last and is written once per list entry.
    int savePosition;
    SaveForm saveForm;
    // 1-based position in the defaults pass; -1 when the pass skips the key.
    // The walkthrough key has a position but no default value: the pass asks
    // the first-run question there instead.
    int defaultsOrder;

    bool isSaved() const { return savePosition > 0; }
    bool hasDefault() const { return !defaultValue.isEmpty(); }
    int storeNumber() const { return static_cast<int>(store); }
};
