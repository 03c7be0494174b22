#include "config/mod_servers.h"

#include "config/frm_setup.h"
#include "config/mod_aquire_mirc.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "platform/dialogs/Dialogs.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QSignalBlocker>

namespace {

// The setup dialog shows the hourglass while the list is written or
// imported, and its own pointer again however that ends.
class Hourglass {
public:
    explicit Hourglass(QWidget& widget) : m_widget(widget) { m_widget.setCursor(Qt::WaitCursor); }
    ~Hourglass() { m_widget.unsetCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    QWidget& m_widget;
};

QString serversPath(const Program& p) {
    return FindPathNoCase(p.folder(), QStringLiteral("servers.ini"));
}

// A port typed for a new entry: a whole number from 1 to 65535, written
// without sign, blanks or leading zeros.
bool isPortNumber(const QString& text) {
    bool ok = false;
    const int port = text.toInt(&ok);
    return ok && port >= 1 && port <= 65535 && QString::number(port) == text;
}

QString listFullText() {
    return QStringLiteral("The server list is full: it holds at most %1 servers.")
        .arg(ServerList::Capacity);
}

// After the list changed: saved, the box shows what servers.ini now holds;
// not saved, it shows the list as it is, so that nothing the user did is lost.
void saveAndReload(Program& p) {
    if (SaveServers(p))
        LoadServers(p);
    else
        FillServerCombo(p, QStringLiteral("1"));
}

// The list from a servers.ini's bytes, shown in the combo box. Each line is
// decoded on its own, so one stray byte costs one entry.
void loadFrom(Program& p, const QByteArray& bytes) {
    p.servers.readLines(DecodeLines(bytes));
    FillServerCombo(p, QStringLiteral("1"));
}

} // namespace

void LoadServers(Program& program) {
    QByteArray bytes;
    if (!ReadFileBytes(serversPath(program), &bytes))
        bytes.clear();
    loadFrom(program, bytes);
}

void LoadServersAtStartup(Program& program) {
    const QString path = serversPath(program);
    const QFileInfo file(path);
    if (file.exists() || file.isSymLink()) {
        LoadServers(program);
        return;
    }
    const QByteArray bytes = DefaultServersFile();
    QString ignored;
    program.fileWriter(path, bytes, &ignored);
    loadFrom(program, bytes);
}

QByteArray DefaultServersFile() {
    QFile resource(QStringLiteral(":/config/servers.ini"));
    return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

void FillServerCombo(Program& program, const QString& mode) {
    QComboBox* box = program.setupDialog().List1;
    // Refilling is not a pick: the box is left without a selection.
    const QSignalBlocker blocker(box);
    box->clear();
    const QString field = mode == u"1"   ? QStringLiteral("FRIENDLY")
                          : mode == u"2" ? QStringLiteral("URL")
                                         : QString();
    if (field.isEmpty())
        return;
    const ServerList& servers = program.servers;
    const int count = servers.ServerCount();
    for (int i = 0; i < count; ++i)
        box->addItem(servers.GetServerField(i, field));
    box->setCurrentIndex(-1);
}

bool SaveServers(Program& program) {
    const Hourglass hourglass(program.setupDialog());
    const QString path = serversPath(program);
    const bool hadFile = QFileInfo(path).isFile();
    QString reason;
    if (program.fileWriter(path, program.servers.fileBytes(), &reason))
        return true;
    QString text = QStringLiteral("The server list was not saved");
    text += reason.isEmpty() ? QStringLiteral(".") : QStringLiteral(": ") + reason;
    if (hadFile)
        text += QStringLiteral("\r\nThe previous servers.ini is kept.");
    platform::MsgBox(text, platform::vbOKOnly | platform::vbCritical, QStringLiteral("Error!"));
    return false;
}

void AskAndAddServer(Program& program) {
    using platform::InputBox;
    const QString url =
        InputBox(QStringLiteral("Please enter the servers url (eg. irc.example.net)"));
    if (url.trimmed().isEmpty())
        return;
    const QString port =
        InputBox(QStringLiteral("Please enter the preffered port to connect to (usually 6667)"));
    if (!isPortNumber(port.trimmed())) {
        platform::MsgBox(QStringLiteral("Please enter only numeric values"));
        return;
    }
    const QString friendly =
        InputBox(QStringLiteral("Please enter the servers friendly name (eg. Ordale Chat)"));
    if (friendly.trimmed().isEmpty())
        return;
    const QString style =
        InputBox(QStringLiteral("Please enter a one word style for the network (Eg. Austnet)"));
    if (style.isEmpty())
        return;
    if (program.servers.AddServer(url, port, friendly, style) == ServerList::AddResult::Full) {
        platform::MsgBox(listFullText());
        return;
    }
    saveAndReload(program);
}

void DeleteServer(Program& program, int index) {
    if (!program.servers.remove(index))
        return;
    saveAndReload(program);
    // The entry that took the deleted one's place, when there is one.
    QComboBox* box = program.setupDialog().List1;
    if (index < box->count())
        box->setCurrentIndex(index);
}

void AquireServers(Program& program) {
    const QString path =
        platform::InputBox(QStringLiteral("Enter in a mIRC compatible server.ini location"),
                           QStringLiteral("Aquire server urls.."));
    MircImport imported;
    {
        const Hourglass hourglass(program.setupDialog());
        if (!path.trimmed().isEmpty())
            imported = ImportMircServers(program.servers, path);
        FillServerCombo(program, QStringLiteral("1"));
    }
    switch (imported.status) {
    case MircImport::Status::Done:
        break;
    case MircImport::Status::FileNotFound:
        platform::MsgBox(QStringLiteral("File not found!"),
                         platform::vbOKOnly | platform::vbCritical);
        break;
    case MircImport::Status::ListFull:
        platform::MsgBox(listFullText() + QStringLiteral(" The rest of the file was not read."));
        break;
    }
}
