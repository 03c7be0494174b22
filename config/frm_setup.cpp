#include "config/frm_setup.h"

#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ServerEcho.h"
#include "core/mod_set.h"
#include "platform/window/FileListBox.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include <exception>

namespace {

// The event filters: caption, and whether the line shows in the active
// window (else in the server window), by index.
struct EventFilter {
    const char* caption;
    bool activeWindow;
};
constexpr std::array<EventFilter, 20> eventFilters{{
    {"CTCP Requests", false}, {"CTCP Replies", false}, {"Error Notices", false},
    {"IRC Messages", false},  {"Joins ", true},        {"Parts", true},
    {"Kicks", true},          {"Nicks ", true},        {"Private Notices ", false},
    {"Notices", true},        {"Queries", false},      {"Quits", false},
    {"Quits ", true},         {"Modes ", true},        {"Names", false},
    {"MOTD", false},          {"Svr Ping", false},     {"Svr Error ", false},
    {"Welcome", false},       {"Svr Notice", false},
}};

// A flag of "TRUE" ticks its box and "FALSE" clears it; anything else leaves
// the box as it is.
void showFlag(QCheckBox* box, const QString& value) {
    if (value == u"TRUE")
        box->setChecked(true);
    else if (value == u"FALSE")
        box->setChecked(false);
}

QGroupBox* group(const QString& caption, QLayout* layout) {
    auto* box = new QGroupBox(caption);
    box->setLayout(layout);
    return box;
}

} // namespace

frm_setup::frm_setup(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Setup"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);

    // Connection
    auto* connection = new QWidget;
    auto* connectionLayout = new QVBoxLayout(connection);
    auto* managerLayout = new QFormLayout;
    List1 = new QComboBox;
    managerLayout->addRow(QStringLiteral("Server:"), List1);
    connectionLayout->addWidget(group(QStringLiteral("Server manager:"), managerLayout));
    auto* personalLayout = new QFormLayout;
    const char* const profileLabels[] = {
        "Nickname:", "Alternate:", "Username:", "Email:", "Real name:"};
    for (int i = 0; i < int(profile.size()); ++i) {
        profile[i] = addTextBox(QStringLiteral("profile(%1)").arg(i));
        personalLayout->addRow(QString::fromLatin1(profileLabels[i]), profile[i]);
    }
    connectionLayout->addWidget(group(QStringLiteral("Personal Info:"), personalLayout));
    auto* infoLayout = new QFormLayout;
    txt_si_name = new QLabel;
    txt_si_url = new QLabel;
    txt_si_port = new QLabel;
    txt_si_style = new QLabel;
    infoLayout->addRow(QStringLiteral("Server Name:"), txt_si_name);
    infoLayout->addRow(QStringLiteral("Server URL:"), txt_si_url);
    infoLayout->addRow(QStringLiteral("Server Port(s):"), txt_si_port);
    infoLayout->addRow(QStringLiteral("Server Network/Style:"), txt_si_style);
    connectionLayout->addWidget(group(QStringLiteral("Server information:"), infoLayout));
    connectionLayout->addStretch(1);
    SSTab1->addTab(connection, QStringLiteral("Connection"));

    // General
    auto* general = new QWidget;
    auto* generalLayout = new QGridLayout(general);
    auto* guiLayout = new QVBoxLayout;
    chk_use_confirm_exit = addCheckBox(QStringLiteral("chk_use_confirm_exit"),
                                       QStringLiteral("Confirm closing down Parlone."));
    Check1 = addCheckBox(QStringLiteral("Check1"), QStringLiteral("Make Parlone 'Always on Top'"));
    chk_use_tray = addCheckBox(QStringLiteral("chk_use_tray"), QStringLiteral("Minimise to tray"));
    for (QCheckBox* box : {chk_use_confirm_exit, Check1, chk_use_tray})
        guiLayout->addWidget(box);
    generalLayout->addWidget(group(QStringLiteral("GUI Options:"), guiLayout), 0, 0);
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
    generalLayout->addWidget(group(QStringLiteral("Show in active window:"), activeLayout), 1, 0);
    generalLayout->addWidget(group(QStringLiteral("Show in server window:"), serverLayout), 1, 1);
    auto* quitLayout = new QVBoxLayout;
    default_quit = addTextBox(QStringLiteral("default_quit"));
    quitLayout->addWidget(default_quit);
    generalLayout->addWidget(group(QStringLiteral("Default /QUIT message:"), quitLayout), 2, 0, 1,
                             2);
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
    generalLayout->addWidget(group(QStringLiteral("Buddy Mode Options:"), buddyLayout), 0, 1);
    auto* dccLayout = new QFormLayout;
    txt_dcc_get = addTextBox(QStringLiteral("txt_dcc_get"));
    txt_dcc_port = addTextBox(QStringLiteral("txt_dcc_port"));
    dccLayout->addRow(QStringLiteral("Default DCC file recieve directory:"), txt_dcc_get);
    dccLayout->addRow(QStringLiteral("DCC Port:"), txt_dcc_port);
    generalLayout->addWidget(group(QStringLiteral("DCC"), dccLayout), 3, 0, 1, 2);
    SSTab1->addTab(general, QStringLiteral("General"));

    // Appearance
    auto* appearance = new QWidget;
    auto* appearanceLayout = new QVBoxLayout(appearance);
    SStab2 = new QTabWidget;
    // The timestamp and logging boxes of each window kind.
    const auto flagsPage = [this](QCheckBox*& timestamp, QCheckBox*& logging,
                                  const QString& timestampName, const QString& loggingName) {
        auto* page = new QWidget;
        auto* pageLayout = new QVBoxLayout(page);
        timestamp = addCheckBox(timestampName, QStringLiteral("Use TimeStamp"));
        logging = addCheckBox(loggingName, QStringLiteral("Use Logging"));
        pageLayout->addWidget(timestamp);
        pageLayout->addWidget(logging);
        pageLayout->addStretch(1);
        return page;
    };
    SStab2->addTab(flagsPage(chk_WIN_SERVER_TIMESTAMP, chk_WIN_SERVER_LOGGING,
                             QStringLiteral("chk_WIN_SERVER_TIMESTAMP"),
                             QStringLiteral("chk_WIN_SERVER_LOGGING")),
                   QStringLiteral("Server"));
    SStab2->addTab(flagsPage(chk_win_Chan_timestamp, chk_win_Chan_logging,
                             QStringLiteral("chk_win_Chan_timestamp"),
                             QStringLiteral("chk_win_Chan_logging")),
                   QStringLiteral("Channel"));
    SStab2->addTab(flagsPage(chk_query_timestamp, chk_query_logging,
                             QStringLiteral("chk_query_timestamp"),
                             QStringLiteral("chk_query_logging")),
                   QStringLiteral("Query"));
    SStab2->addTab(new QWidget, QStringLiteral("Colors"));
    appearanceLayout->addWidget(SStab2);
    auto* profilesLayout = new QVBoxLayout;
    cb_app = new QComboBox;
    profilesLayout->addWidget(cb_app);
    fl_app = new platform::FileListBox;
    fl_app->setPattern(QStringLiteral("*.app"));
    profilesLayout->addWidget(fl_app);
    appearanceLayout->addWidget(group(QStringLiteral("Appearance Profiles:"), profilesLayout));
    SSTab1->addTab(appearance, QStringLiteral("Appearance"));

    // Event Options
    auto* events = new QWidget;
    auto* eventsLayout = new QVBoxLayout(events);
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
    eventsLayout->addWidget(SSTab3);
    SSTab1->addTab(events, QStringLiteral("Event Options"));

    // Picking an entry, by the user or by program, runs List1_Click.
    connect(List1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            List1_Click();
    });
    connect(start_command, &QTextEdit::textChanged, this, &frm_setup::start_command_Change);
    // These two boxes store their setting whenever their value changes, also
    // when the settings accessor sets them.
    connect(Check1, &QCheckBox::stateChanged, this, &frm_setup::Check1_Click);
    connect(chk_use_tray, &QCheckBox::stateChanged, this, &frm_setup::chk_use_tray_Click);
}

QCheckBox* frm_setup::addCheckBox(const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption);
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

void frm_setup::UpdateSetupQuery() {
    const Settings& s = program().settings;
    showFlag(chk_query_timestamp, s.value(u"WIN_QUERY_TIMESTAMP"));
    showFlag(chk_query_logging, s.value(u"WIN_QUERY_LOGGING"));
}

void frm_setup::UpdateSetupServer() {
    const Settings& s = program().settings;
    showFlag(chk_WIN_SERVER_TIMESTAMP, s.value(u"WIN_SERVER_TIMESTAMP"));
    showFlag(chk_WIN_SERVER_LOGGING, s.value(u"WIN_SERVER_LOGGING"));
}

void frm_setup::UpdateSetupChan() {
    const Settings& s = program().settings;
    showFlag(chk_win_Chan_timestamp, s.value(u"WIN_CHAN_TIMESTAMP"));
    showFlag(chk_win_Chan_logging, s.value(u"WIN_CHAN_LOGGING"));
}

void frm_setup::Check1_Click() {
    const Qt::CheckState state = Check1->checkState();
    if (state == Qt::PartiallyChecked)
        return;
    try {
        Setting(program(), QStringLiteral("MAINFORM_ONTOP"),
                state == Qt::Checked ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
    } catch (const std::exception&) {
        // The frame without its "Always on top" item is still put on top.
    }
}

void frm_setup::chk_use_tray_Click() {
    const Qt::CheckState state = chk_use_tray->checkState();
    if (state == Qt::PartiallyChecked)
        return;
    try {
        Setting(program(), QStringLiteral("USE_TRAY"),
                state == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0"));
    } catch (const std::exception&) {
        // The frame without its "Minimise to tray" item keeps the setting.
    }
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

void frm_setup::closeEvent(QCloseEvent* event) {
    event->ignore();
    Hide();
}
