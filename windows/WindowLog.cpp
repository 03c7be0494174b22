#include "windows/WindowLog.h"

#include "core/ProgramFiles.h"
#include "core/SafeFileName.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QList>

namespace {

// A file's lines in one turn are written sooner past this many bytes, so a
// turn that never ends holds no more than this.
constexpr qsizetype MaxPendingBytes = 1024 * 1024;

struct PendingFile {
    QString path;
    QByteArray bytes;
};

// The lines not yet written, per file in the order the files were first
// written to this turn; shared by every window, so that windows sharing a
// file keep the order of their lines.
struct Pending {
    QList<PendingFile> files;
    bool queued = false;
    // Counts failed writes: a window maps its name again after one.
    quint64 failures = 0;
};

Pending& pending() {
    static Pending state;
    return state;
}

bool writeFile(const PendingFile& file) {
    QString path = file.path;
    const QFileInfo info(path);
    // A file made meanwhile under another spelling (the other window of a
    // shared log, or the user) is the one to append to.
    if (!info.exists())
        path = FindPathNoCase(info.path(), info.fileName());
    return AppendToFile(path, file.bytes);
}

} // namespace

WindowLog::WindowLog(const QString& programFolder, QObject* parent)
    : QObject(parent), m_folder(programFolder) {}

WindowLog::~WindowLog() {
    writePending();
}

QString WindowLog::pathFor(const QString& name) const {
    const QString logs = FindPathNoCase(m_folder, QStringLiteral("logs"));
    QStringList reserved = LogFolderFiles();
    if (!m_chatLog)
        reserved << QStringLiteral("DCC-*");
    const QString safe = SafeFileName(QString(), name, reserved, IfExists::Reuse);
    return safe.isEmpty() ? QString() : FindPathNoCase(logs, safe);
}

bool WindowLog::append(const QString& name, const QString& line) {
    Pending& state = pending();
    if (name != m_name || m_failures != state.failures) {
        m_name = name;
        m_path = pathFor(name);
        m_failures = state.failures;
    }
    if (m_path.isEmpty())
        return false;
    PendingFile* file = nullptr;
    for (PendingFile& f : state.files) {
        if (f.path.compare(m_path, Qt::CaseInsensitive) == 0) {
            file = &f;
            break;
        }
    }
    if (file == nullptr)
        file = &state.files.emplaceBack(PendingFile{m_path, QByteArray()});
    file->bytes += line.toUtf8();
    file->bytes += "\r\n";
    if (file->bytes.size() >= MaxPendingBytes) {
        if (!writeFile(*file))
            ++state.failures;
        file->bytes.clear();
    }
    if (!state.queued) {
        state.queued = true;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { writePending(); }, Qt::QueuedConnection);
    }
    return true;
}

void WindowLog::writePending() {
    Pending& state = pending();
    state.queued = false;
    const QList<PendingFile> files = std::exchange(state.files, {});
    for (const PendingFile& file : files) {
        if (!file.bytes.isEmpty() && !writeFile(file))
            ++state.failures;
    }
}
