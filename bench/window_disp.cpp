// A channel window's display of lines as traffic arrives: 50,000 coloured
// lines of about 80 characters through `disp` of a shown channel window,
// with timestamps and logging on, the event loop run every 100 lines. At the
// end the console holds every line and the log every line, in order.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "windows/frm_chan.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

namespace {

constexpr int Lines = 50000;
constexpr int LinesPerTurn = 100;

// Nicks and words of the lines.
const QStringList nicks = QStringLiteral("ann bob_ carla dmitri eve-x frank gwen h4x").split(u' ');
const QStringList words =
    QStringLiteral("so the netsplit is over and everyone is back in the channel again, "
                   "who has the link to the new release notes? thanks, it works now")
        .split(u' ');

// One channel line as the frame hands it over: "<nick> " and text with bold
// words and colour changes inside.
QString channelLine(std::mt19937& random, int number) {
    auto pick = [&random](const QStringList& list) {
        return list.at(static_cast<qsizetype>(random() % static_cast<unsigned>(list.size())));
    };
    QString line = u'<' + pick(nicks) + QStringLiteral("> ") + QString::number(number) + u' ';
    while (line.size() < 80) {
        QString word = pick(words);
        switch (random() % 8) {
        case 0:
            word = u'\x02' + word + u'\x02';
            break;
        case 1:
            word = u'\x03' + QString::number(random() % 16) + u',' +
                   QString::number(random() % 16) + word + u'\x03';
            break;
        default:
            break;
        }
        line += word + u' ';
    }
    return line;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir(folder.path()).mkdir(QStringLiteral("logs"));
    Program p(folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    p.settings.setValue(QStringLiteral("WIN_CHAN_TIMESTAMP"), QStringLiteral("TRUE"));
    p.settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    p.settings.setValue(QStringLiteral("WIN_CHAN_CONSOLE_FORECOLOR"),
                        QString::number(p.palette.color(1)));
    p.mainFrame().resize(1024, 768);
    p.mainFrame().show();
    auto* window = new frm_chan(p);
    window->setTag(QStringLiteral("#bench"));
    window->Show();
    QCoreApplication::processEvents();

    std::mt19937 random(11);
    QStringList lines;
    lines.reserve(Lines);
    for (int i = 0; i < Lines; ++i)
        lines << channelLine(random, i);
    const QString colour = QString::number(p.palette.color(12));

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Lines; ++i) {
        window->disp(lines.at(i), false, i % 3 == 0 ? colour : QString());
        if ((i + 1) % LinesPerTurn == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;

    // Every line is shown and logged, in order.
    const QString text = window->console->Text();
    const qsizetype shown = text.count(QStringLiteral("\r\n"));
    QFile log(folder.filePath(QStringLiteral("logs/bench.log")));
    const QByteArray logged = log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
    const qsizetype loggedLines = logged.count("\r\n");
    const QString last = QString::number(Lines - 1) + u' ';
    if (shown != Lines || loggedLines != Lines ||
        !text.section(QStringLiteral("\r\n"), -1).contains(last) ||
        !logged.contains(("> " + last).toUtf8())) {
        std::fprintf(stderr, "window_disp: %lld lines shown, %lld logged, expected %d\n",
                     static_cast<long long>(shown), static_cast<long long>(loggedLines), Lines);
        return 1;
    }
    std::printf("window_disp_lines_per_s: %.0f lines/s\n", Lines / seconds);
    return 0;
}
