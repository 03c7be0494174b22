#include "core/ServerEcho.h"

#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Palette.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/SettingsKeys.h"
#include "windows/frm_server.h"

#include <QDir>

#include <iterator>

namespace {

constexpr qint32 kTrimAbove = 30000;
constexpr qint32 kTrimBy = 1000;

int indexOf(const Program& p, const QString& colour) {
    return p.palette.ColorIndex(ColourNumber(colour));
}

// The palette index of one of the server console's own colours. One not set
// yet counts as its default, so that the lines shown while the settings load
// are readable.
int consoleIndex(const Program& p, QLatin1StringView key) {
    const QString colour = p.settings.value(key);
    if (!colour.isEmpty())
        return indexOf(p, colour);
    return p.palette.ColorIndex(p.palette.GetColor(SettingsKeys::find(key)->defaultValue));
}

void appendToLog(const Program& p, const QString& line) {
    const QString logs = FindPathNoCase(p.folder(), QStringLiteral("logs"));
    QDir().mkpath(logs);
    AppendToFile(FindPathNoCase(logs, QStringLiteral("server.log")),
                 QStringLiteral("\r\n-\r\n%1\r\n").arg(line).toUtf8());
}

void draw(Program& p, const QString& line) {
    absRichEdit& console = *p.serverWindow().console;
    // The length of the text as Text counts it, without building the text.
    if (console.FileSize() > kTrimAbove)
        console.removeHead(kTrimBy);
    console.setSelStart(console.FileSize());
    AddColorText(console, QStringLiteral("\r\n") + line);
    console.setHideSelection(false);
    console.setSelStart(console.FileSize());
}

} // namespace

QString ColorCodePrefix(int fore, int back) {
    // Every shown line starts with one: the usual two-digit parts are put
    // together directly.
    if (fore >= 0 && fore <= 99 && back >= 0 && back <= 99) {
        const auto digit = [](int value) { return QChar(u'0' + value); };
        const QChar code[] = {QChar(3),    digit(fore / 10), digit(fore % 10),
                              QChar(u','), digit(back / 10), digit(back % 10)};
        return QString(code, std::size(code));
    }
    return QChar(3) +
           QStringLiteral("%1,%2").arg(fore, 2, 10, QChar(u'0')).arg(back, 2, 10, QChar(u'0'));
}

QString ColorCodePrefix(int fore) {
    return ColorCodePrefix(fore, 99);
}

void ServerEcho(Program& p, QString text, const QString& colour, int mode) {
    const Settings& s = p.settings;
    if (s.value(QStringLiteral("WIN_SERVER_TIMESTAMP")) == u"TRUE")
        text = QStringLiteral("[%1] ").arg(p.clock.time().toString(QStringLiteral("H:mm"))) + text;

    const int back = consoleIndex(p, QLatin1StringView("WIN_SERVER_CONSOLE_BACKCOLOR"));
    QString line;
    if (colour.isEmpty())
        line = ColorCodePrefix(consoleIndex(p, QLatin1StringView("WIN_SERVER_CONSOLE_FORECOLOR")),
                               back);
    else if (mode > 0)
        line = ColorCodePrefix(indexOf(p, colour), back);
    else
        line = ColorCodePrefix(indexOf(p, colour));
    line += text;

    if (p.hasServerWindow())
        draw(p, line);
    else
        p.pendingServerLines.append(line);

    if (s.value(QStringLiteral("WIN_SERVER_LOGGING")) == u"TRUE")
        appendToLog(p, line);
}

void FlushServerEcho(Program& p) {
    const QStringList lines = std::exchange(p.pendingServerLines, {});
    for (const QString& line : lines)
        draw(p, line);
}
