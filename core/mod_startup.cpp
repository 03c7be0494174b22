#include "core/mod_startup.h"

#include "config/frm_setup.h"
#include "config/mod_servers.h"
#include "connection/frm_main.h"
#include "core/Fonts.h"
#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/SettingsFile.h"
#include "core/mod_kernel.h"
#include "core/mod_set.h"
#include "platform/window/FileListBox.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTabWidget>
#include <QTextEdit>

std::unique_ptr<Program> Main(const QString& programFolder) {
    auto program = std::make_unique<Program>(programFolder);
    Main(*program);
    return program;
}

void Main(Program& p) {
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    PrepareFolders(p);
    LoadServers(p);
    LoadSettings(p);
    LoadPopups(p);
    SetDefaults(p);
    InitSetupForm(p);
    p.serverWindow().Show();
    p.defaultChannel();
    if (p.settings.value(QStringLiteral("SHOW_SETUP")) == u"1") {
        p.setupDialog().Show();
        p.setupDialog().ZOrder();
    }
    ExecCommand(p, QStringLiteral("Version"));
    if (p.settings.value(QStringLiteral("USE_MINISTART")) == u"1")
        p.mainFrame().setWindowState(Form::vbMinimized);
}

bool PrepareFolders(Program& p) {
    for (const QString& name : {QStringLiteral("logs"), QStringLiteral("cmd")})
        QDir().mkpath(FindPathNoCase(p.folder(), name));
    // The status bar's face: Verdana when installed, else Arial, else its own.
    for (const QString& face : {QStringLiteral("Arial"), QStringLiteral("Verdana")}) {
        if (FontExists(face))
            SetFontFace(*p.mainFrame().StatusBar1, face);
    }
    return true;
}

void InitSetupForm(Program& p) {
    frm_setup& setup = p.setupDialog();
    setup.fl_app->setPath(p.folder());
    for (int i = 0; i < setup.fl_app->ListCount(); ++i) {
        const QString name = setup.fl_app->List(i);
        setup.cb_app->addItem(name.left(name.size() - 4));
    }

    const QString url = p.settings.value(QStringLiteral("SERVER_URL")).toUpper();
    for (int i = 0; i < setup.List1->count(); ++i) {
        if (p.servers.GetServerField(i, QStringLiteral("URL")).toUpper() == url) {
            // Selecting the entry runs List1_Click.
            setup.List1->setCurrentIndex(i);
            setup.SSTab1->setCurrentIndex(0);
            break;
        }
    }

    // Load the start-up script into its editor without writing it back; the
    // editor is unlocked afterwards even when there is no script yet, so the
    // first edit creates it.
    setup.start_command->setReadOnly(true);
    setup.start_command->clear();
    QString script;
    if (ReadTextFile(FindPathNoCase(p.folder(), QStringLiteral("cmd/startup.ini")), &script))
        setup.start_command->setPlainText(script);
    setup.start_command->setReadOnly(false);
}

void RunStartupScript(Program& p) {
    if (p.settings.value(QStringLiteral("USE_STARTUPINI")) != u"1" || !p.ServerConnected)
        return;
    QString line = QStringLiteral("/~startup.ini");
    ParseLine(p, line);
}
