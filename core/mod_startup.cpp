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
#include <QFileInfo>
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
    LoadServersAtStartup(p);
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
    if (p.settings.value(QStringLiteral("USE_INSTANTCONNECT")) == u"1")
        ExecCommand(p, QStringLiteral("CONNECT"));
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

    // Load the start-up script into its editor without writing it back. The
    // editor is unlocked when the script was read, and also when there is
    // none yet, so that the first edit creates it; a script that exists but
    // cannot be read keeps it locked, so no edit can replace the user's file.
    setup.start_command->setReadOnly(true);
    setup.start_command->clear();
    const QString path = FindPathNoCase(p.folder(), QStringLiteral("cmd/startup.ini"));
    QString script;
    if (ReadTextFile(path, &script))
        setup.start_command->setPlainText(script);
    else if (QFileInfo::exists(path))
        return;
    setup.start_command->setReadOnly(false);
}

void RunStartupScript(Program& p) {
    if (p.settings.value(QStringLiteral("USE_STARTUPINI")) != u"1" || !p.ServerConnected)
        return;
    QString line = QStringLiteral("/~startup.ini");
    ParseLine(p, line);
}
