#include "config/frm_setup.h"

#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "platform/window/FileListBox.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSaveFile>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

frm_setup::frm_setup(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Setup"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);

    // Connection
    auto* connection = new QWidget;
    auto* connectionLayout = new QVBoxLayout(connection);
    auto* manager = new QGroupBox(QStringLiteral("Server manager:"));
    auto* managerLayout = new QFormLayout(manager);
    List1 = new QComboBox;
    managerLayout->addRow(QStringLiteral("Server:"), List1);
    connectionLayout->addWidget(manager);
    auto* info = new QGroupBox(QStringLiteral("Server information:"));
    auto* infoLayout = new QFormLayout(info);
    txt_si_name = new QLabel;
    txt_si_url = new QLabel;
    txt_si_port = new QLabel;
    txt_si_style = new QLabel;
    infoLayout->addRow(QStringLiteral("Server Name:"), txt_si_name);
    infoLayout->addRow(QStringLiteral("Server URL:"), txt_si_url);
    infoLayout->addRow(QStringLiteral("Server Port(s):"), txt_si_port);
    infoLayout->addRow(QStringLiteral("Server Network/Style:"), txt_si_style);
    connectionLayout->addWidget(info);
    connectionLayout->addStretch(1);
    SSTab1->addTab(connection, QStringLiteral("Connection"));

    SSTab1->addTab(new QWidget, QStringLiteral("General"));

    // Appearance
    auto* appearance = new QWidget;
    auto* appearanceLayout = new QVBoxLayout(appearance);
    auto* profiles = new QGroupBox(QStringLiteral("Appearance Profiles:"));
    auto* profilesLayout = new QVBoxLayout(profiles);
    cb_app = new QComboBox;
    profilesLayout->addWidget(cb_app);
    fl_app = new platform::FileListBox;
    fl_app->setPattern(QStringLiteral("*.app"));
    profilesLayout->addWidget(fl_app);
    appearanceLayout->addWidget(profiles);
    SSTab1->addTab(appearance, QStringLiteral("Appearance"));

    // Event Options
    auto* events = new QWidget;
    auto* eventsLayout = new QVBoxLayout(events);
    auto* commands =
        new QGroupBox(QStringLiteral("When Connected to the server run these commands:"));
    auto* commandsLayout = new QVBoxLayout(commands);
    start_command = new QTextEdit;
    start_command->setAcceptRichText(false);
    commandsLayout->addWidget(start_command);
    eventsLayout->addWidget(commands);
    SSTab1->addTab(events, QStringLiteral("Event Options"));

    // Picking an entry, by the user or by program, runs List1_Click.
    connect(List1, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            List1_Click();
    });
    connect(start_command, &QTextEdit::textChanged, this, &frm_setup::start_command_Change);
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

void frm_setup::start_command_Change() {
    if (start_command->isReadOnly())
        return;
    const QString cmdFolder = FindPathNoCase(program().folder(), QStringLiteral("cmd"));
    QDir().mkpath(cmdFolder);
    QSaveFile file(FindPathNoCase(cmdFolder, QStringLiteral("startup.ini")));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(start_command->toPlainText().toUtf8());
        file.commit();
    }
}

void frm_setup::closeEvent(QCloseEvent* event) {
    event->ignore();
    Hide();
}
