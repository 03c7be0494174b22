// The console at flood speed: 100,000 coloured IRC lines of about 80
// characters drawn through AddColorText into an empty, shown 800 x 600
// console as the windows write them (the caret put at the end before and
// after each line), with the event loop run every 100 lines, as a window
// that is flooded runs it. Figures: lines per second, the console's paints
// per second meanwhile, its resident growth per 10,000 lines, and its rate
// against a plain text widget given the same runs, one edit per line.

#include "bench/ResidentMemory.h"
#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <unistd.h>

#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int Lines = 100000;
constexpr int LinesPerTurn = 100;

const QStringList nicks{"alice", "bob", "carol_", "dave", "eve-x", "mallory", "trent", "peggy"};
const QStringList words{"the",  "server", "says",     "hello", "channel", "topic",  "is",
                        "now",  "bright", "links",    "quick", "fox",     "jumps",  "over",
                        "lazy", "dog",    "netsplit", "ping",  "again",   "welcome"};

// One line as a channel window draws it: timestamp, nick and text in
// colours, with bold words and a colour change inside.
QString ircLine(std::mt19937& random) {
    const QString c = QStringLiteral("\x03");
    const QString b = QStringLiteral("\x02");
    auto pick = [&random](const QStringList& list) {
        return list.at(static_cast<qsizetype>(random() % static_cast<unsigned>(list.size())));
    };
    QString line = QStringLiteral("\r\n") + c +
                   QStringLiteral("14[%1:%2] ")
                       .arg(random() % 24, 2, 10, QLatin1Char('0'))
                       .arg(random() % 60, 2, 10, QLatin1Char('0'));
    line += c + QString::number(2 + random() % 10) + QStringLiteral(",0<") + pick(nicks) +
            QStringLiteral("> ") + c + QStringLiteral("1,0");
    int visible = 22;
    while (visible < 80) {
        QString word = pick(words);
        visible += static_cast<int>(word.size()) + 1;
        switch (random() % 8) {
        case 0:
            word = b + word + b;
            break;
        case 1:
            word = c + QString::number(random() % 16) + QStringLiteral(",") +
                   QString::number(random() % 16) + word + c + QStringLiteral("1,0");
            break;
        default:
            break;
        }
        line += word + QLatin1Char(' ');
    }
    return line;
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Run {
    QString text;
    QTextCharFormat format;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    Program program(folder.path());
    program.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));

    std::mt19937 random(2);
    QStringList lines;
    lines.reserve(Lines);
    for (int i = 0; i < Lines; ++i)
        lines << ircLine(random);

    absRichEdit console(program);
    console.resize(800, 600);
    console.show();
    PaintCounter counter;
    console.rtfText->viewport()->installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.paints = 0;

    const double residentBefore = residentMiB();
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Lines; ++i) {
        console.setSelStart(console.FileSize());
        AddColorText(console, lines.at(i));
        console.setSelStart(console.FileSize());
        if ((i + 1) % LinesPerTurn == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double consoleSeconds = timer.nsecsElapsed() / 1e9;
    const double residentGrowth = residentMiB() - residentBefore;
    const int paints = counter.paints;

    // The runs the console made of the lines, one list per line.
    const QTextDocument* doc = console.rtfText->document();
    std::vector<std::vector<Run>> runs;
    runs.reserve(Lines);
    for (QTextBlock b = doc->begin().next(); b.isValid(); b = b.next()) {
        std::vector<Run> lineRuns;
        for (auto it = b.begin(); !it.atEnd(); ++it)
            lineRuns.push_back({it.fragment().text(), it.fragment().charFormat()});
        runs.push_back(std::move(lineRuns));
    }
    if (runs.size() != static_cast<size_t>(Lines)) {
        std::fprintf(stderr, "console_render: %zu lines rendered, expected %d\n", runs.size(),
                     Lines);
        return 1;
    }

    // The plain widget takes the same runs, one edit per line.
    QTextEdit plain;
    plain.resize(800, 600);
    plain.setFont(console.rtfText->font());
    plain.show();
    QCoreApplication::processEvents();
    QTextCursor cursor(plain.document());
    timer.start();
    for (size_t i = 0; i < runs.size(); ++i) {
        cursor.beginEditBlock();
        cursor.insertBlock();
        for (const Run& run : runs.at(i))
            cursor.insertText(run.text, run.format);
        cursor.endEditBlock();
        if ((i + 1) % LinesPerTurn == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double plainSeconds = timer.nsecsElapsed() / 1e9;
    if (plain.document()->characterCount() != doc->characterCount()) {
        std::fprintf(stderr,
                     "console_render: the plain widget holds %d characters, the console %d\n",
                     plain.document()->characterCount(), doc->characterCount());
        return 1;
    }

    const double consoleRate = Lines / consoleSeconds;
    std::printf("console_render_lines_per_s: %.0f lines/s\n", consoleRate);
    std::printf("console_render_frames_per_s: %.1f frames/s\n", paints / consoleSeconds);
    std::printf("console_rss_mib_per_10k_lines: %.2f MiB\n", residentGrowth * 10000.0 / Lines);
    std::printf("console_render_ratio_to_plain_widget: %.2f ratio\n",
                consoleRate / (Lines / plainSeconds));
    return 0;
}
