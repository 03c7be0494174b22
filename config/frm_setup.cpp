#include "config/frm_setup.h"

#include "config/mod_servers.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ServerEcho.h"
#include "core/mod_connect.h"
#include "core/mod_set.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/window/NativeWindow.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

#include <exception>

namespace {

// The event filters: caption, settings key, and whether the line shows in the
// active window (else in the server window), by index.
struct EventFilter {
    const char* caption;
    const char* key;
    bool activeWindow;
};
constexpr std::array<EventFilter, 20> eventFilters{{
    {"CTCP Requests", "SHOW_CTCP", false},
    {"CTCP Replies", "SHOW_CTCPREPLY", false},
    {"Error Notices", "SHOW_ERROR", false},
    {"IRC Messages", "SHOW_IRCMESSAGES", false},
    {"Joins ", "SHOW_JOIN", true},
    {"Parts", "SHOW_PART", true},
    {"Kicks", "SHOW_KICK", true},
    {"Nicks ", "SHOW_NICK", true},
    {"Private Notices ", "SHOW_NOTICE", false},
    {"Notices", "SHOW_NOTICEACTIVE", true},
    {"Queries", "SHOW_QUERY", false},
    {"Quits", "SHOW_QUIT", false},
    {"Quits ", "SHOW_QUITACTIVE", true},
    {"Modes ", "SHOW_CHANNELMODE", true},
    {"Names", "SHOW_NAMES", false},
    {"MOTD", "SHOW_MOTD", false},
    {"Svr Ping", "SHOW_SERVERPING", false},
    {"Svr Error ", "SHOW_SERVERERROR", false},
    {"Welcome", "SHOW_WELCOME", false},
    {"Svr Notice", "SHOW_SERVERNOTICE", false},
}};

// How an option control stores: through the settings accessor, with the
// key's side effects, or straight into the settings record.
enum class Write { Accessor, Direct };

// When a check box stores: when the user clicks it, or at every change of its
// value, also one the accessor makes.
enum class Trigger { Click, EveryChange };

// The option check boxes but the event filters: the value stored when the
// user ticks or clears the box. A greyed value is only ever set by the
// program and is never written back.
struct CheckOption {
    const char* control;
    const char* key;
    const char* ticked;
    const char* clear;
    Write write;
    Trigger trigger = Trigger::Click;
};
constexpr CheckOption checkOptions[] = {
    {"Check1", "MAINFORM_ONTOP", "TRUE", "FALSE", Write::Accessor, Trigger::EveryChange},
    {"chk_use_tray", "USE_TRAY", "1", "0", Write::Accessor, Trigger::EveryChange},
    {"chk_use_confirm_exit", "USE_CONFIRM_EXIT", "1", "0", Write::Direct},
    {"chk_prompt_swiz", "PROMPT_SWIZ", "1", "0", Write::Accessor},
    {"chk_show_setup_startup", "SHOW_SETUP", "1", "0", Write::Accessor},
    {"chk_useministart", "USE_MINISTART", "1", "0", Write::Direct},
    {"chk_use_instantconnect", "USE_INSTANTCONNECT", "1", "0", Write::Direct},
    {"chk_use_reconnect", "USE_RECONNECT", "1", "0", Write::Direct},
    {"chk_use_autorejoin", "USE_AUTOREJOIN", "1", "0", Write::Direct},
    {"chk_use_buddy", "USE_BUDDY", "1", "0", Write::Direct},
    {"chk_use_startupini", "USE_STARTUPINI", "1", "0", Write::Direct},
    {"chk_USE_MSNTILE", "USE_MSNTILE", "1", "0", Write::Accessor},
    {"chk_USE_MSNSOUND", "USE_MSNSOUND", "1", "0", Write::Accessor},
    {"chk_USE_MSN_TRANS", "USE_MSN_TRANS", "1", "0", Write::Accessor},
    {"chk_WIN_SERVER_LOGGING", "WIN_SERVER_LOGGING", "TRUE", "FALSE", Write::Accessor},
    {"chk_WIN_SERVER_TIMESTAMP", "WIN_SERVER_TIMESTAMP", "TRUE", "FALSE", Write::Accessor},
    {"chk_win_Chan_logging", "WIN_CHAN_LOGGING", "TRUE", "FALSE", Write::Accessor},
    {"chk_win_Chan_timestamp", "WIN_CHAN_TIMESTAMP", "TRUE", "FALSE", Write::Accessor},
    {"chk_query_logging", "WIN_QUERY_LOGGING", "TRUE", "FALSE", Write::Accessor},
    {"chk_query_timestamp", "WIN_QUERY_TIMESTAMP", "TRUE", "FALSE", Write::Accessor},
};

// How a text box stores what the user types.
enum class TextWrite {
    // Direct, trimmed, at every change and again when the edit is done.
    Trimmed,
    // Direct, as typed (empty too), at every change.
    AsTyped,
    // Through the accessor at every change.
    Accessor,
    // Through the accessor when the edit is done, so that what the accessor
    // makes of the text (a folder's trailing "/") never changes the box while
    // the user types in it.
    AccessorWhenDone,
};
struct TextOption {
    const char* control;
    const char* key;
    TextWrite write;
};
constexpr TextOption textOptions[] = {
    {"profile(0)", "PROFILE_NICKNAME", TextWrite::Trimmed},
    {"profile(1)", "PROFILE_ALTERNATE", TextWrite::Trimmed},
    {"profile(2)", "PROFILE_USERNAME", TextWrite::Trimmed},
    {"profile(3)", "PROFILE_EMAIL", TextWrite::Trimmed},
    {"profile(4)", "PROFILE_REALNAME", TextWrite::Trimmed},
    {"default_quit", "USE_DEFAULT_QUIT", TextWrite::AsTyped},
    {"txt_dcc_get", "DEF_GET_DIR", TextWrite::AccessorWhenDone},
    {"txt_dcc_port", "SET_DCC_PORT", TextWrite::Accessor},
};

const TextOption* textOptionOf(const QLineEdit& box) {
    for (const TextOption& option : textOptions) {
        if (box.objectName() == QLatin1StringView(option.control))
            return &option;
    }
    return nullptr;
}

// Stores through the accessor. The frame's system-menu control may fail the
// tray key's menu tick; the setting is stored before that, so it is dropped.
void storeThroughAccessor(Program& p, const QString& key, const QString& value) {
    try {
        Setting(p, key, value);
    } catch (const std::exception&) {
    }
}

// A check box that the user only ticks and clears. A greyed value, which
// only the program sets, turns ticked at the next click.
class OptionCheckBox : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

QGroupBox* group(const QString& caption, QLayout* layout) {
    auto* box = new QGroupBox(caption);
    box->setLayout(layout);
    return box;
}

} // namespace

frm_setup::frm_setup(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Setup"));
    randomIndex = [](int count) {
        return static_cast<int>(QRandomGenerator::global()->bounded(count));
    };
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);
    SSTab1->addTab(connectionPage(), QStringLiteral("Connection"));
    SSTab1->addTab(generalPage(), QStringLiteral("General"));
    SSTab1->addTab(appearancePage(), QStringLiteral("Appearance"));
    SSTab1->addTab(eventsPage(), QStringLiteral("Event Options"));

    // Picking an entry, by the user or by program, runs List1_Click.
    connect(List1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            List1_Click();
    });
    // A double click reaches the box itself, or the list it opens.
    List1->installEventFilter(this);
    List1->view()->viewport()->installEventFilter(this);
    connect(start_command, &QTextEdit::textChanged, this, &frm_setup::start_command_Change);
    connectOptions();
}

QWidget* frm_setup::connectionPage() {
    auto* page = new QWidget;
    auto* pageLayout = new QGridLayout(page);

    auto* managerLayout = new QGridLayout;
    List1 = new QComboBox;
    managerLayout->addWidget(new QLabel(QStringLiteral("Server:")), 0, 0);
    managerLayout->addWidget(List1, 0, 1, 1, 3);
    managerLayout->addWidget(new QLabel(QStringLiteral("Go To:")), 1, 0);
    Command1 = addButton(QStringLiteral("Top "), &frm_setup::Command1_Click);
    Command7 = addButton(QStringLiteral("Random"), &frm_setup::Command7_Click);
    Command8 = addButton(QStringLiteral("Bottom"), &frm_setup::Command8_Click);
    managerLayout->addWidget(Command1, 1, 1);
    managerLayout->addWidget(Command7, 1, 2);
    managerLayout->addWidget(Command8, 1, 3);
    btn_server_add = addButton(QStringLiteral("Add"), &frm_setup::btn_server_add_Click);
    btn_server_delete = addButton(QStringLiteral("Delete"), &frm_setup::btn_server_delete_Click);
    managerLayout->addWidget(btn_server_add, 2, 1);
    managerLayout->addWidget(btn_server_delete, 2, 2);
    managerLayout->setColumnStretch(1, 1);
    managerLayout->setColumnStretch(2, 1);
    managerLayout->setColumnStretch(3, 1);
    pageLayout->addWidget(group(QStringLiteral("Server manager:"), managerLayout), 0, 0);

    auto* infoLayout = new QFormLayout;
    txt_si_name = new QLabel;
    txt_si_url = new QLabel;
    txt_si_port = new QLabel;
    txt_si_style = new QLabel;
    // They show what a servers file said, which may look like markup.
    for (QLabel* label : {txt_si_name, txt_si_url, txt_si_port, txt_si_style})
        label->setTextFormat(Qt::PlainText);
    infoLayout->addRow(QStringLiteral("Server Name:"), txt_si_name);
    infoLayout->addRow(QStringLiteral("Server URL:"), txt_si_url);
    infoLayout->addRow(QStringLiteral("Server Port(s):"), txt_si_port);
    infoLayout->addRow(QStringLiteral("Server Network/Style:"), txt_si_style);
    pageLayout->addWidget(group(QStringLiteral("Server information:"), infoLayout), 1, 0);

    auto* listLayout = new QHBoxLayout;
    Command6 = addButton(QStringLiteral("Load"), &frm_setup::Command6_Click);
    Command5 = addButton(QStringLiteral("Save"), &frm_setup::Command5_Click);
    Command4 = addButton(QStringLiteral("Aquire"), &frm_setup::Command4_Click);
    for (QPushButton* button : {Command6, Command5, Command4})
        listLayout->addWidget(button);
    pageLayout->addWidget(group(QStringLiteral("Server List:"), listLayout), 2, 0);

    auto* personalLayout = new QFormLayout;
    const char* const profileLabels[] = {
        "Nickname:", "Alternate:", "Username:", "Email:", "Real name:"};
    for (int i = 0; i < int(profile.size()); ++i) {
        profile[i] = addTextBox(QStringLiteral("profile(%1)").arg(i));
        personalLayout->addRow(QString::fromLatin1(profileLabels[i]), profile[i]);
    }
    pageLayout->addWidget(group(QStringLiteral("Personal Info:"), personalLayout), 0, 1, 2, 1);
    Command2 =
        addButton(QStringLiteral("Connect to the selected server!"), &frm_setup::Command2_Click);
    pageLayout->addWidget(Command2, 2, 1);
    pageLayout->setRowStretch(3, 1);
    return page;
}

QWidget* frm_setup::generalPage() {
    auto* page = new QWidget;
    auto* pageLayout = new QGridLayout(page);
    auto* guiLayout = new QVBoxLayout;
    chk_prompt_swiz = addCheckBox(QStringLiteral("chk_prompt_swiz"),
                                  QStringLiteral("Prompt for wizard on /setup"));
    chk_use_confirm_exit = addCheckBox(QStringLiteral("chk_use_confirm_exit"),
                                       QStringLiteral("Confirm closing down Parlone."));
    Check1 = addCheckBox(QStringLiteral("Check1"), QStringLiteral("Make Parlone 'Always on Top'"));
    chk_use_tray = addCheckBox(QStringLiteral("chk_use_tray"), QStringLiteral("Minimise to tray"));
    for (QCheckBox* box : {chk_prompt_swiz, chk_use_confirm_exit, Check1, chk_use_tray})
        guiLayout->addWidget(box);
    pageLayout->addWidget(group(QStringLiteral("GUI Options:"), guiLayout), 0, 0);
    auto* activeLayout = new QVBoxLayout;
    auto* serverLayout = new QGridLayout;
    int serverBoxes = 0;
    for (int i = 0; i < int(chk_md.size()); ++i) {
        chk_md[i] = addCheckBox(QStringLiteral("chk_md(%1)").arg(i),
                                QString::fromLatin1(eventFilters[i].caption));
        if (eventFilters[i].activeWindow) {
            activeLayout->addWidget(chk_md[i]);
        } else {
            serverLayout->addWidget(chk_md[i], serverBoxes / 2, serverBoxes % 2);
            ++serverBoxes;
        }
    }
    pageLayout->addWidget(group(QStringLiteral("Show in active window:"), activeLayout), 1, 0);
    pageLayout->addWidget(group(QStringLiteral("Show in server window:"), serverLayout), 1, 1);
    auto* quitLayout = new QVBoxLayout;
    default_quit = addTextBox(QStringLiteral("default_quit"));
    quitLayout->addWidget(default_quit);
    pageLayout->addWidget(group(QStringLiteral("Default /QUIT message:"), quitLayout), 2, 0, 1, 2);
    auto* buddyLayout = new QVBoxLayout;
    chk_use_buddy =
        addCheckBox(QStringLiteral("chk_use_buddy"), QStringLiteral("Use \"Buddy\" utility"));
    chk_USE_MSNTILE =
        addCheckBox(QStringLiteral("chk_USE_MSNTILE"), QStringLiteral("Use \"MSN\" tiles"));
    chk_USE_MSNSOUND = addCheckBox(QStringLiteral("chk_USE_MSNSOUND"), QStringLiteral("Sound"));
    chk_USE_MSN_TRANS =
        addCheckBox(QStringLiteral("chk_USE_MSN_TRANS"), QStringLiteral("Translucent"));
    for (QCheckBox* box : {chk_use_buddy, chk_USE_MSNTILE, chk_USE_MSNSOUND, chk_USE_MSN_TRANS})
        buddyLayout->addWidget(box);
    pageLayout->addWidget(group(QStringLiteral("Buddy Mode Options:"), buddyLayout), 0, 1);
    auto* dccLayout = new QFormLayout;
    txt_dcc_get = addTextBox(QStringLiteral("txt_dcc_get"));
    txt_dcc_port = addTextBox(QStringLiteral("txt_dcc_port"));
    dccLayout->addRow(QStringLiteral("Default DCC file recieve directory:"), txt_dcc_get);
    dccLayout->addRow(QStringLiteral("DCC Port:"), txt_dcc_port);
    pageLayout->addWidget(group(QStringLiteral("DCC"), dccLayout), 3, 0, 1, 2);
    return page;
}

QWidget* frm_setup::eventsPage() {
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    SSTab3 = new QTabWidget;
    auto* options = new QWidget;
    auto* optionsLayout = new QVBoxLayout(options);
    auto* commandsLayout = new QVBoxLayout;
    chk_use_startupini =
        addCheckBox(QStringLiteral("chk_use_startupini"), QStringLiteral("Enable these commands"));
    commandsLayout->addWidget(chk_use_startupini);
    start_command = new QTextEdit;
    start_command->setAcceptRichText(false);
    commandsLayout->addWidget(start_command);
    optionsLayout->addWidget(
        group(QStringLiteral("When Connected to the server run these commands:"), commandsLayout));
    auto* startsLayout = new QVBoxLayout;
    chk_show_setup_startup = addCheckBox(QStringLiteral("chk_show_setup_startup"),
                                         QStringLiteral("Show Setup + Configuration"));
    chk_useministart =
        addCheckBox(QStringLiteral("chk_useministart"), QStringLiteral("Start Minimized"));
    chk_use_instantconnect =
        addCheckBox(QStringLiteral("chk_use_instantconnect"), QStringLiteral("Connect instantly"));
    for (QCheckBox* box : {chk_show_setup_startup, chk_useministart, chk_use_instantconnect})
        startsLayout->addWidget(box);
    optionsLayout->addWidget(group(QStringLiteral("When Parlone Starts"), startsLayout));
    auto* miscLayout = new QVBoxLayout;
    chk_use_reconnect = addCheckBox(QStringLiteral("chk_use_reconnect"),
                                    QStringLiteral("Reconnect on disconnection."));
    chk_use_autorejoin = addCheckBox(QStringLiteral("chk_use_autorejoin"),
                                     QStringLiteral("Rejoin channel after being kicked"));
    miscLayout->addWidget(chk_use_reconnect);
    miscLayout->addWidget(chk_use_autorejoin);
    optionsLayout->addWidget(group(QStringLiteral("Misc:"), miscLayout));
    SSTab3->addTab(options, QStringLiteral("Options"));
    pageLayout->addWidget(SSTab3);
    return page;
}

// Every option control stores its setting as the option tables say.
void frm_setup::connectOptions() {
    const auto storeCheck = [this](QCheckBox* box, const QString& key, const QString& ticked,
                                   const QString& clear, Write write) {
        const Qt::CheckState state = box->checkState();
        if (state == Qt::PartiallyChecked)
            return;
        const QString& value = state == Qt::Checked ? ticked : clear;
        if (write == Write::Direct)
            program().settings.setValue(key, value);
        else
            storeThroughAccessor(program(), key, value);
    };
    for (const CheckOption& option : checkOptions) {
        QCheckBox* box = checkBox(QString::fromLatin1(option.control));
        const auto store = [=] {
            storeCheck(box, QString::fromLatin1(option.key), QString::fromLatin1(option.ticked),
                       QString::fromLatin1(option.clear), option.write);
        };
        if (option.trigger == Trigger::EveryChange)
            connect(box, &QCheckBox::stateChanged, this, store);
        else
            connect(box, &QCheckBox::clicked, this, store);
    }
    for (int i = 0; i < int(chk_md.size()); ++i) {
        QCheckBox* box = chk_md[i];
        const QString key = QString::fromLatin1(eventFilters[i].key);
        connect(box, &QCheckBox::clicked, this, [=] {
            storeCheck(box, key, QStringLiteral("1"), QStringLiteral("0"), Write::Direct);
        });
    }
    connect(chk_use_startupini, &QCheckBox::clicked, this, &frm_setup::chk_use_startupini_Click);

    for (const TextOption& option : textOptions) {
        QLineEdit* box = textBox(QString::fromLatin1(option.control));
        const QString key = QString::fromLatin1(option.key);
        connect(box, &QLineEdit::textEdited, this,
                [this, key, write = option.write](const QString& text) {
                    switch (write) {
                    case TextWrite::Trimmed:
                        program().settings.setValue(key, text.trimmed());
                        break;
                    case TextWrite::AsTyped:
                        program().settings.setValue(key, text);
                        break;
                    case TextWrite::Accessor:
                        storeThroughAccessor(program(), key, text);
                        break;
                    case TextWrite::AccessorWhenDone:
                        break;
                    }
                });
        connect(box, &QLineEdit::editingFinished, this, [this, box] { textBoxDone(*box); });
    }
}

void frm_setup::textBoxDone(QLineEdit& box) {
    // Only the user's edits are stored, once each.
    if (!box.isModified())
        return;
    box.setModified(false);
    const TextOption* option = textOptionOf(box);
    if (option == nullptr)
        return;
    const QString key = QString::fromLatin1(option->key);
    const QString text = box.text();
    switch (option->write) {
    case TextWrite::Trimmed:
        program().settings.setValue(key, text.trimmed());
        break;
    case TextWrite::AsTyped:
        break;
    case TextWrite::Accessor:
    case TextWrite::AccessorWhenDone:
        // An emptied box stores nothing; it shows the value kept again.
        if (text.trimmed().isEmpty())
            box.setText(program().settings.value(key));
        else if (option->write == TextWrite::AccessorWhenDone)
            storeThroughAccessor(program(), key, text);
        break;
    }
}

QCheckBox* frm_setup::addCheckBox(const QString& name, const QString& caption) {
    auto* box = new OptionCheckBox(caption);
    box->setObjectName(name);
    m_checkBoxes.insert(name, box);
    return box;
}

QLineEdit* frm_setup::addTextBox(const QString& name) {
    auto* box = new QLineEdit;
    box->setObjectName(name);
    m_textBoxes.insert(name, box);
    return box;
}

QPushButton* frm_setup::addButton(const QString& caption, void (frm_setup::*handler)()) {
    auto* button = new QPushButton(caption);
    // The dialog has no default button: Return in a box ends its edit only.
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, handler);
    return button;
}

void frm_setup::SetCheckValue(QCheckBox& box, double value) {
    if (value == 0)
        box.setCheckState(Qt::Unchecked);
    else if (value == 2)
        box.setCheckState(Qt::PartiallyChecked);
    else
        box.setCheckState(Qt::Checked);
}

void frm_setup::List1_Click() {
    const int i = List1->currentIndex();
    const ServerList& servers = program().servers;
    Settings& settings = program().settings;
    txt_si_url->setText(servers.GetServerField(i, QStringLiteral("URL")));
    settings.setValue(QStringLiteral("SERVER_URL"), txt_si_url->text());
    txt_si_port->setText(servers.GetServerField(i, QStringLiteral("PORT")));
    settings.setValue(QStringLiteral("SERVER_PORT"), txt_si_port->text());
    txt_si_name->setText(servers.GetServerField(i, QStringLiteral("FRIENDLY")));
    txt_si_style->setText(servers.GetServerField(i, QStringLiteral("STYLE")));
    settings.setValue(QStringLiteral("SERVER_STYLE"), txt_si_style->text());
}

void frm_setup::Command1_Click() {
    if (List1->count() > 0)
        List1->setCurrentIndex(0);
}

void frm_setup::Command8_Click() {
    if (List1->count() > 0)
        List1->setCurrentIndex(List1->count() - 1);
}

void frm_setup::Command7_Click() {
    if (const int count = List1->count(); count > 0)
        List1->setCurrentIndex(randomIndex(count));
}

void frm_setup::btn_server_add_Click() {
    AskAndAddServer(program());
}

void frm_setup::btn_server_delete_Click() {
    DeleteServer(program(), List1->currentIndex());
}

void frm_setup::Command2_Click() {
    Hide();
    ConnectServer(program());
}

void frm_setup::Command6_Click() {
    LoadServers(program());
}

void frm_setup::Command5_Click() {
    if (SaveServers(program()))
        platform::MsgBox(QStringLiteral("Server list saved"), platform::vbOKOnly,
                         QStringLiteral("Information"));
}

void frm_setup::Command4_Click() {
    AquireServers(program());
}

void frm_setup::List1_DblClick() {
    SSTab1->setCurrentIndex(0);
    ConnectServer(program());
}

bool frm_setup::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() == QEvent::WinIdChange || event->type() == QEvent::Show) &&
        watched == m_frame && isVisible()) {
        // The frame got a new native window (put on top or back) or was shown
        // again (back from the tray), which the window manager takes as a new
        // window: the dialog is made to belong to it and raised, once the
        // change is done.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!isVisible())
                    return;
                keepAboveFrame();
                raise();
            },
            Qt::QueuedConnection);
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == List1 || watched == List1->view()->viewport())) {
        List1->hidePopup();
        List1_DblClick();
        return true;
    }
    return Form::eventFilter(watched, event);
}

void frm_setup::chk_use_startupini_Click() {
    // Ticking opens the editor; clearing leaves it as it is. The editor is
    // read-only only when start-up kept it locked, because cmd/startup.ini
    // exists but could not be read: it stays so, so that no edit can replace
    // the user's file.
    if (chk_use_startupini->checkState() == Qt::Checked)
        start_command->setEnabled(true);
}

void frm_setup::start_command_Change() {
    if (start_command->isReadOnly())
        return;
    Program& p = program();
    const QString cmdFolder = FindPathNoCase(p.folder(), QStringLiteral("cmd"));
    QDir().mkpath(cmdFolder);
    QString reason;
    const bool written = p.fileWriter(FindPathNoCase(cmdFolder, QStringLiteral("startup.ini")),
                                      start_command->toPlainText().toUtf8(), &reason);
    // Said once, not at every keystroke, until a write works again.
    if (!written && !m_startupWriteFailed)
        ServerEcho(p, QStringLiteral("Error: startup.ini could not be written (%1)").arg(reason));
    m_startupWriteFailed = !written;
}

void frm_setup::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    // While the program ends the dialog goes with the other windows.
    if (program().closing)
        return;
    // Otherwise it only hides, and the main frame comes to the front.
    Cancel = 1;
    Hide();
    frm_main& frame = program().mainFrame();
    frame.Show();
    frame.ZOrder();
}

void frm_setup::Show() {
    const bool shown = isVisible();
    Form::Show();
    if (!shown || windowHandle() == nullptr)
        return;
    // Asked for again: it belongs to the frame's window of now, and a window
    // the window manager lost while Qt counts it visible is mapped again.
    keepAboveFrame();
    if (!windowHandle()->isExposed() && !isMinimized())
        platform::MapAgain(*windowHandle());
}

void frm_setup::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    keepAboveFrame();
}

void frm_setup::keepAboveFrame() {
    if (!program().hasMainFrame() || windowHandle() == nullptr)
        return;
    frm_main& frame = program().mainFrame();
    // Putting the frame on top or back gives it a new native window, and
    // showing it again makes it new to the window manager; the dialog is
    // then made to belong to it again (eventFilter).
    if (m_frame != &frame) {
        frame.installEventFilter(this);
        m_frame = &frame;
    }
    if (QWindow* frameWindow = frame.windowHandle())
        platform::SetTransientParentInPlace(*windowHandle(), *frameWindow);
}

void frm_setup::hideEvent(QHideEvent* event) {
    // A box whose edit was under way when the dialog went keeps what was typed.
    for (QLineEdit* box : std::as_const(m_textBoxes))
        textBoxDone(*box);
    Form::hideEvent(event);
}
