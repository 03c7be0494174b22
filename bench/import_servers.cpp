// The import of a large servers file of another IRC client: a generated
// 50 MB file with 5,000 server lines among the settings of a long other
// section, read by the program's import into a fresh server list. The figure
// is the process's peak resident size (VmHWM) after the import.

#include "config/ServerList.h"
#include "config/mod_aquire_mirc.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr qint64 FileBytes = 50LL * 1000 * 1000;
constexpr int Servers = 5000;

int fail(const char* what) {
    std::fprintf(stderr, "import_servers: %s\n", what);
    return 1;
}

// The peak resident size in MiB, from /proc/self/status; 0 when unknown.
double peakResidentMiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Writes the file a block at a time, so that making it costs no memory.
bool writeServersFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block = "[servers]\r\n";
    for (int i = 0; i < Servers; ++i) {
        block += "n" + QByteArray::number(i) + "=Server " + QByteArray::number(i) + "SERVER:irc" +
                 QByteArray::number(i) + ".example.net:6660-6669GROUP:Net" +
                 QByteArray::number(i % 50) + "\r\n";
    }
    block += "[other]\r\n";
    qint64 written = 0;
    for (int i = 0; written < FileBytes; ++i) {
        block += "key" + QByteArray::number(i) +
                 "=a setting of the other client that the import passes over\r\n";
        if (block.size() >= 64 * 1024 || written + block.size() >= FileBytes) {
            if (file.write(block) != block.size())
                return false;
            written += block.size();
            block.clear();
        }
    }
    return file.flush();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("servers.ini"));
    if (!writeServersFile(path))
        return fail("the file could not be written");
    ServerList list;
    const MircImport result = ImportMircServers(list, path);
    if (result.status != MircImport::Status::Done || result.added != Servers)
        return fail("the import did not add every server");
    std::printf("import_50mb_peak_mib: %.1f MiB\n", peakResidentMiB());
    return 0;
}
