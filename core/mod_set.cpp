#include "core/mod_set.h"

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "console/toolkit/mod_topmost.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/SettingsKeys.h"
#include "core/Val.h"
#include "core/mod_kernel.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/richedit/OleColor.h"
#include "platform/window/Twips.h"
#include "windows/ConversationForm.h"
#include "windows/frm_chan.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>

#include <cmath>

namespace {

// The window kind a look key belongs to, from its name.
enum class Family { None, Chan, Query, Server };

// The part of a window a look key sets, and what it sets on it, also from
// the key's name: WIN_<kind>_<part>_<property>.
enum class Part { None, List, Console, Command };
enum class Property { None, BackColor, ForeColor, Font, FontSize };

struct Look {
    Family family = Family::None;
    Part part = Part::None;
    Property property = Property::None;
};

Look lookOf(const SettingKey& key) {
    const QStringList words = QString(key.name).split(u'_');
    Look look;
    if (words.size() < 2 || words.at(0) != u"WIN")
        return look;
    const QString& kind = words.at(1);
    look.family = kind == u"CHAN"     ? Family::Chan
                  : kind == u"QUERY"  ? Family::Query
                  : kind == u"SERVER" ? Family::Server
                                      : Family::None;
    if (words.size() != 4)
        return look;
    const QString& part = words.at(2);
    look.part = part == u"LIST"      ? Part::List
                : part == u"CONSOLE" ? Part::Console
                : part == u"COMMAND" ? Part::Command
                                     : Part::None;
    const QString& property = words.at(3);
    look.property = property == u"BACKCOLOR"   ? Property::BackColor
                    : property == u"FORECOLOR" ? Property::ForeColor
                    : property == u"FONT"      ? Property::Font
                    : property == u"FONTSIZE"  ? Property::FontSize
                                               : Property::None;
    return look;
}

void report(Program& p, const QString& text) {
    ServerEcho(p, text);
}

// Rounds half to even, as the check box and colour readings of a number do.
double roundWhole(double number) {
    return std::nearbyint(number);
}

// A number as decimal text: whole numbers without a fraction or exponent.
QString numberText(double number) {
    if (number == std::trunc(number) && std::fabs(number) < 1e15)
        return QString::number(static_cast<qint64>(number));
    return QString::number(number, 'g', 15);
}

// Whether all of `text` reads as the number `number` (the leading number
// of a text such as "12abc" does not count).
bool readsWholeAs(const QString& text, double number) {
    bool ok = false;
    double whole = text.toDouble(&ok);
    if (!ok) {
        static const QRegularExpression radix(QStringLiteral("^&([Hh][0-9A-Fa-f]+|[Oo][0-7]+)$"));
        ok = radix.match(text).hasMatch();
        whole = number;
    }
    return ok && whole == number;
}

bool isColourName(const QString& text) {
    const QString wanted = text.trimmed().toUpper();
    for (int i = 0; i < Palette::Size; ++i) {
        if (wanted == Palette::colorName(i))
            return true;
    }
    return false;
}

// A look colour as written: a palette name or a palette index "0" to "15"
// gives that palette colour, any other word or number up to 16 gives 0, and a
// number above 16 is a colour number of its own. A text that only begins with
// a number counts as that number.
QString convertLookColour(const Palette& palette, QString value) {
    if (Val(value) == 0 && value != u"0") {
        // A name gives its colour number, which is final: read again as an
        // index, the number 0 of a pure black would turn into entry 0, white.
        const bool name = isColourName(value);
        value = QString::number(palette.GetColor(value));
        if (name)
            return value;
    }
    const double number = Val(value);
    if (number <= 16) {
        const QString index = readsWholeAs(value, number) ? value : numberText(number);
        value = QString::number(palette.GetColor(index));
    }
    return value;
}

// Widget looks.
void setRole(QWidget& widget, QPalette::ColorRole role, qint32 colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, platform::ColorFromRgb(colour));
    widget.setPalette(palette);
}

void setSize(QWidget& widget, double points) {
    QFont font = widget.font();
    font.setPointSizeF(points);
    widget.setFont(font);
}

void setConsoleFace(absRichEdit& console, const QString& face) {
    QFont font = console.Font();
    font.setFamily(FontFamilyFor(face));
    console.setFont(font);
}

void setConsoleSize(absRichEdit& console, double points) {
    QFont font = console.Font();
    font.setPointSizeF(points);
    console.setFont(font);
}

// A command line as tall as its font needs: 27.5 twips a point.
void fitCommandLine(QLineEdit& commandline, double points) {
    commandline.setFixedHeight(
        platform::TwipsToPixelsY(static_cast<int>(std::trunc(points * 27.5))));
}

// The parts of a channel or query window a look is pushed to.
struct Parts {
    QListWidget* list = nullptr;
    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
};

// Sets one look on a channel or query window. The channel console's text
// colour is read for each line the window writes, so it is not pushed; the
// query console's text colour is the colour of text written from then on.
template <typename Window>
void pushLook(Window& window, const Parts& parts, const Look& look, const QString& stored) {
    const double size = Val(stored);
    switch (look.part) {
    case Part::List:
    case Part::Command: {
        QWidget* widget = look.part == Part::List ? static_cast<QWidget*>(parts.list)
                                                  : static_cast<QWidget*>(parts.commandline);
        if (widget == nullptr)
            return;
        switch (look.property) {
        case Property::BackColor:
            setRole(*widget, QPalette::Base, ColourNumber(stored));
            break;
        case Property::ForeColor:
            setRole(*widget, QPalette::Text, ColourNumber(stored));
            break;
        case Property::Font:
            SetFontFace(*widget, stored);
            break;
        case Property::FontSize:
            setSize(*widget, size);
            if (look.part == Part::Command) {
                fitCommandLine(*parts.commandline, size);
                window.Form_Resize();
            }
            break;
        case Property::None:
            break;
        }
        break;
    }
    case Part::Console:
        switch (look.property) {
        case Property::BackColor:
            parts.console->setBackColor(ColourNumber(stored));
            break;
        case Property::ForeColor:
            if (look.family == Family::Query)
                parts.console->setSelColor(ColourNumber(stored));
            break;
        case Property::Font:
            setConsoleFace(*parts.console, stored);
            break;
        case Property::FontSize:
            setConsoleSize(*parts.console, size);
            break;
        case Property::None:
            break;
        }
        break;
    case Part::None:
        break;
    }
}

// Every open channel window that takes the program's looks, and every open
// window tagged "?": queries in the frame and on the desktop.
void pushToChannels(Program& p, const Look& look, const QString& stored) {
    const QList<Form*> forms = p.forms();
    for (Form* form : forms) {
        auto* chan = qobject_cast<frm_chan*>(form);
        if (chan == nullptr || chan->Tag().isEmpty() || chan->GLOBALUPDATE == u"TRUE")
            continue;
        pushLook(*chan, Parts{chan->list_nicks, chan->console, chan->commandline}, look, stored);
    }
}

void pushToQueries(Program& p, const Look& look, const QString& stored) {
    const QList<Form*> forms = p.forms();
    for (Form* form : forms) {
        auto* query = qobject_cast<ConversationForm*>(form);
        if (query == nullptr || !query->Tag().startsWith(u'?'))
            continue;
        pushLook(*query, Parts{nullptr, query->console, query->commandline}, look, stored);
    }
}

// The server window's console and command line. Its console's text colour
// is read for each line written, so it is only stored.
void applyToServer(Program& p, const Look& look, const QString& stored) {
    frm_server& server = p.serverWindow();
    absRichEdit& console = *server.console;
    QLineEdit& commandline = *server.commandline;
    if (look.part == Part::Command) {
        switch (look.property) {
        case Property::BackColor:
            setRole(commandline, QPalette::Base, ColourNumber(stored));
            break;
        case Property::ForeColor:
            setRole(commandline, QPalette::Text, ColourNumber(stored));
            break;
        case Property::Font:
            SetFontFace(commandline, stored);
            break;
        case Property::FontSize:
            setSize(commandline, Val(stored));
            fitCommandLine(commandline, commandline.font().pointSizeF());
            server.Form_Resize();
            break;
        case Property::None:
            break;
        }
        return;
    }
    if (look.part != Part::Console)
        return;
    // Face and size also go to the text already shown, the caret kept.
    const auto reformat = [&console](const auto& apply) {
        const qint32 caret = console.SelStart();
        console.setSelStart(0);
        console.setSelLength(static_cast<qint32>(console.Text().size()));
        apply();
        console.setSelStart(caret);
        console.setSelLength(0);
    };
    switch (look.property) {
    case Property::BackColor:
        console.setBackColor(ColourNumber(stored));
        break;
    case Property::Font:
        reformat([&] { console.setSelFontName(FontFamilyFor(stored)); });
        setConsoleFace(console, stored);
        break;
    case Property::FontSize: {
        // The console's text takes whole points only; its own font takes the
        // same whole size, so the lines shown and the lines to come agree.
        const double size = roundWhole(Val(stored));
        reformat([&] { console.setSelFontSize(static_cast<int>(size)); });
        setConsoleSize(console, size);
        break;
    }
    case Property::ForeColor:
    case Property::None:
        break;
    }
}

void refreshPreview(Program& p, Family family) {
    frm_setup& setup = p.setupDialog();
    switch (family) {
    case Family::Chan:
        setup.UpdateSetupChan();
        break;
    case Family::Query:
        setup.UpdateSetupQuery();
        break;
    case Family::Server:
        setup.UpdateSetupServer();
        break;
    case Family::None:
        break;
    }
}

void elementNotFound(Program& p, const QString& key) {
    report(p, QStringLiteral("Element not found: ") + key);
}

// The look families: store, then the preview, the font check and the push in
// the order each window kind takes them.

void storeLookColour(Program& p, const SettingKey& key, const Look& look, QString& value) {
    value = convertLookColour(p.palette, value);
    const QString stored = look.family == Family::Chan ? value : numberText(Val(value));
    p.settings.setValue(key, stored);
    switch (look.family) {
    case Family::Chan:
        refreshPreview(p, Family::Chan);
        pushToChannels(p, look, stored);
        break;
    case Family::Query:
        pushToQueries(p, look, stored);
        refreshPreview(p, Family::Query);
        break;
    case Family::Server:
        applyToServer(p, look, stored);
        refreshPreview(p, Family::Server);
        break;
    case Family::None:
        break;
    }
}

void storeLookFont(Program& p, const SettingKey& key, const Look& look, const QString& value) {
    p.settings.setValue(key, value);
    switch (look.family) {
    case Family::Chan:
        refreshPreview(p, Family::Chan);
        if (!FontExists(value))
            report(p, QStringLiteral("Error: ") + value + QStringLiteral(" font doesn't exist!"));
        pushToChannels(p, look, value);
        break;
    case Family::Query:
        pushToQueries(p, look, value);
        CheckFont(value, [&p](const QString& text) { report(p, text); });
        refreshPreview(p, Family::Query);
        break;
    case Family::Server:
        if (!FontExists(value))
            report(p, QStringLiteral("Error: Font not found '") + value +
                          (look.part == Part::Console ? QStringLiteral("'") : QString()));
        applyToServer(p, look, value);
        refreshPreview(p, Family::Server);
        break;
    case Family::None:
        break;
    }
}

// The largest font size a rich text box holds: 1638 points, 32767 twips.
constexpr double kLargestPoints = 1638;

// Whether a window takes `size` points: above `floor`, up to the largest
// size. A size out of range stores nothing, like a non-positive one.
bool takesSize(double size, double floor = 0) {
    return size > floor && size <= kLargestPoints;
}

void storeLookSize(Program& p, const SettingKey& key, const Look& look, const QString& value) {
    const double size = Val(value);
    switch (look.family) {
    case Family::Chan:
        if (takesSize(size)) {
            p.settings.setValue(key, value);
            refreshPreview(p, Family::Chan);
            pushToChannels(p, look, value);
        }
        break;
    case Family::Query:
        if (takesSize(size)) {
            p.settings.setValue(key, value);
            pushToQueries(p, look, value);
            refreshPreview(p, Family::Query);
        } else if (look.part == Part::Command) {
            refreshPreview(p, Family::Query);
        }
        break;
    case Family::Server:
        // The server console takes whole points, and no size below 5.
        if (look.part == Part::Console ? takesSize(roundWhole(size), 4) : takesSize(size)) {
            applyToServer(p, look, value);
            p.settings.setValue(key, value);
        }
        refreshPreview(p, Family::Server);
        break;
    case Family::None:
        break;
    }
}

void storeSwitch(Program& p, const SettingKey& key, const QString& value) {
    const bool isTray = key.name == QLatin1StringView("USE_TRAY");
    if (value != u"0" && value != u"1") {
        // The tray switch ignores other values quietly.
        if (!isTray)
            elementNotFound(p, key.name);
        return;
    }
    const bool on = value == u"1";
    p.settings.setValue(key, value);
    if (QCheckBox* box = p.setupDialog().checkBox(key.setupBinding))
        box->setChecked(on);
    if (isTray)
        p.mainFrame().Sysdeck1->SysMenuCheck(111, on);
}

void storeOnTop(Program& p, const SettingKey& key, const QString& value) {
    p.settings.setValue(key, value);
    const QString flag = value.toUpper();
    if (flag != u"TRUE" && flag != u"FALSE")
        return;
    const bool on = flag == u"TRUE";
    SetTopMost(p.mainFrame(), on, 100);
    if (QCheckBox* box = p.setupDialog().checkBox(key.setupBinding))
        box->setChecked(on);
}

void store(Program& p, const SettingKey& key, QString& value) {
    frm_setup& setup = p.setupDialog();
    switch (key.store) {
    case StoreProcedure::PlainText:
        p.settings.setValue(key, value);
        break;
    case StoreProcedure::MirroredText:
        if (key.name == QLatin1StringView("PROFILE_NICKNAME") &&
            (value.startsWith(u'@') || value.startsWith(u'+')))
            value.remove(0, 1);
        p.settings.setValue(key, value);
        // A box that already shows the value is left alone: setting its text
        // would move the caret of a user typing in it to the end.
        if (QLineEdit* box = setup.textBox(key.setupBinding); box && box->text() != value)
            box->setText(value);
        break;
    case StoreProcedure::Folder: {
        QString folder = value;
        if (!folder.endsWith(u'/'))
            folder += u'/';
        p.settings.setValue(key, folder);
        if (QLineEdit* box = setup.textBox(key.setupBinding))
            box->setText(folder);
        break;
    }
    case StoreProcedure::NumericCheckBox:
        p.settings.setValue(key, value);
        if (QCheckBox* box = setup.checkBox(key.setupBinding))
            frm_setup::SetCheckValue(*box, roundWhole(Val(value)));
        break;
    case StoreProcedure::Switch:
        storeSwitch(p, key, value);
        break;
    case StoreProcedure::MainFormOnTop:
        storeOnTop(p, key, value);
        break;
    case StoreProcedure::TrueFalseFlag: {
        value = value.toUpper();
        const bool stored = value == u"TRUE" || value == u"FALSE";
        if (stored)
            p.settings.setValue(key, value);
        const Family family = lookOf(key).family;
        if (stored || family == Family::Server)
            refreshPreview(p, family);
        break;
    }
    case StoreProcedure::EventColor:
        p.settings.setValue(key, QString::number(p.palette.GetColor(value)));
        refreshPreview(p, lookOf(key).family);
        break;
    case StoreProcedure::LookColor:
        storeLookColour(p, key, lookOf(key), value);
        break;
    case StoreProcedure::LookFont:
        storeLookFont(p, key, lookOf(key), value);
        break;
    case StoreProcedure::LookSize:
        storeLookSize(p, key, lookOf(key), value);
        break;
    case StoreProcedure::NotifyEntry:
    case StoreProcedure::Ignored:
        break;
    }
}

// Every look of the family that is set, pushed to one window being loaded.
template <typename Window>
void applyStoredLooks(Program& p, Family family, Window& window, const Parts& parts) {
    for (const SettingKey& key : SettingsKeys::all()) {
        const Look look = lookOf(key);
        if (look.family != family || look.part == Part::None || look.property == Property::None)
            continue;
        const QString stored = p.settings.value(key);
        if (!stored.isEmpty())
            pushLook(window, parts, look, stored);
    }
}

} // namespace

QString Setting(Program& p, QString& key, QString& value) {
    key = SettingsKeys::normalise(key);
    value = value.trimmed();
    const SettingKey* const entry = SettingsKeys::find(key);
    if (entry == nullptr) {
        if (!key.isEmpty())
            elementNotFound(p, key);
        return QString();
    }
    switch (entry->store) {
    case StoreProcedure::NotifyEntry:
        // The notify list is the store; a read of the key adds nothing.
        if (!value.isEmpty())
            p.notifyWindow().List1->addItem(value);
        return QString();
    case StoreProcedure::Ignored:
        return QString();
    default:
        break;
    }
    if (value.isEmpty())
        return p.settings.value(*entry);
    store(p, *entry, value);
    return QString();
}

void ApplyQueryLooks(Program& p, ConversationForm& window) {
    applyStoredLooks(p, Family::Query, window, Parts{nullptr, window.console, window.commandline});
}

QString Setting(Program& p, const QString& key, const QString& value) {
    QString k = key;
    QString v = value;
    return Setting(p, k, v);
}

void SetDefaults(Program& p) {
    for (const SettingKey* key : SettingsKeys::inDefaultsOrder()) {
        if (!p.settings.value(*key).isEmpty())
            continue;
        if (key->hasDefault()) {
            Setting(p, QString(key->name), QString(key->defaultValue));
            continue;
        }
        // The walkthrough key: the first-run question.
        const int answer =
            platform::MsgBox(QStringLiteral("Would you like to use the Setup "
                                            "Walkthrough\r\nfor easy configuration?"),
                             platform::vbYesNo, QStringLiteral("Use Walkthrough?"));
        if (answer == platform::vbYes) {
            // The walkthrough stores the key itself when the user turns it off.
            ExecCommand(p, QStringLiteral("setwiz"));
        } else {
            Setting(p, QString(key->name), QStringLiteral("0"));
            p.mainFrame().Show();
        }
    }
}

void ApplyChannelLooks(Program& p, frm_chan& chan) {
    applyStoredLooks(p, Family::Chan, chan, Parts{chan.list_nicks, chan.console, chan.commandline});
}
