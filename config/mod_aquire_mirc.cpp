#include "config/mod_aquire_mirc.h"

#include "config/ServerList.h"
#include "core/ProgramFiles.h"

#include <QFile>

namespace {

const QString kServer = QStringLiteral("SERVER:");
const QString kGroup = QStringLiteral("GROUP:");

// Where the fields of a server line lie. The description ends at the first
// "SERVER:"; the host starts after the last one.
struct Fields {
    QStringView description;
    QStringView host;
    QStringView port;
    QStringView group;
};

Fields fieldsOf(QStringView line) {
    Fields f;
    line = line.trimmed();
    const qsizetype first = line.indexOf(kServer);
    if (first < 0)
        return f;
    f.description = line.left(first).trimmed();
    if (const qsizetype equals = f.description.indexOf(u'='); equals >= 0)
        f.description = f.description.mid(equals + 1);

    const qsizetype hostStart = line.lastIndexOf(kServer) + kServer.size();
    const qsizetype colon = line.indexOf(u':', hostStart);
    if (colon < 0) {
        f.host = line.mid(hostStart);
        return f;
    }
    f.host = line.mid(hostStart, colon - hostStart);
    const qsizetype portStart = colon + 1;
    const qsizetype group = line.indexOf(kGroup, portStart);
    if (group < 0) {
        f.port = line.mid(portStart);
        return f;
    }
    f.port = line.mid(portStart, group - portStart);
    f.group = line.mid(group + kGroup.size());
    return f;
}

} // namespace

QString MircDescription(QStringView line) {
    return fieldsOf(line).description.toString();
}

QString MircHost(QStringView line) {
    return fieldsOf(line).host.toString();
}

QString MircPort(QStringView line) {
    return fieldsOf(line).port.toString();
}

QString MircGroup(QStringView line) {
    return fieldsOf(line).group.toString();
}

MircImport ImportMircServers(ServerList& list, const QString& path) {
    MircImport result;
    QFile file;
    if (!OpenRegularFile(file, path, QIODevice::ReadOnly)) {
        result.status = MircImport::Status::FileNotFound;
        return result;
    }
    // Read a line at a time, so that a large file costs one line of memory;
    // a line longer than any server line is skipped.
    constexpr qint64 kLongestLine = 64 * 1024;
    bool first = true;
    bool skipping = false;
    while (!file.atEnd()) {
        QByteArray bytes = file.readLine(kLongestLine);
        if (bytes.isEmpty() && file.error() != QFileDevice::NoError)
            break;
        const bool ended = bytes.endsWith('\n');
        const bool skip = skipping;
        skipping = !ended && bytes.size() >= kLongestLine - 1;
        if (skip || skipping)
            continue;
        if (first && bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        first = false;
        // A line ends at CR LF, CR or LF.
        for (const QString& text : DecodeLines(bytes)) {
            const QStringView line = QStringView(text).trimmed();
            if (!line.startsWith(u'n'))
                continue;
            const Fields f = fieldsOf(line);
            // No host: no server to add.
            if (f.host.isEmpty())
                continue;
            switch (list.AddServer(f.host.toString(), f.port.toString(), f.description.toString(),
                                   f.group.toString())) {
            case ServerList::AddResult::Added:
                ++result.added;
                break;
            case ServerList::AddResult::AlreadyListed:
                break;
            case ServerList::AddResult::Full:
                result.status = MircImport::Status::ListFull;
                return result;
            }
        }
    }
    return result;
}
