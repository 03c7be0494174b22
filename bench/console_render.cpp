// The console's rendering of coloured IRC lines: 20,000 lines of about 80
// characters with colour and bold codes drawn through AddColorText into a
// console that already holds 50,000 lines, against the same runs inserted
// straight into a bare text document (no widget, nothing laid out) and into
// the document of a plain text widget of the same size (the best the widget
// itself can do: one edit per line), and the heap the console grows by.

#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <malloc.h>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int PrefillLines = 50000;
constexpr int RenderedLines = 20000;

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

double heapMiB() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

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

    std::mt19937 prefillRandom(1);
    QString prefill;
    for (int i = 0; i < PrefillLines; ++i)
        prefill += ircLine(prefillRandom);
    std::mt19937 lineRandom(2);
    QStringList lines;
    for (int i = 0; i < RenderedLines; ++i)
        lines << ircLine(lineRandom);

    absRichEdit console(program);
    console.resize(800, 600);
    console.show();
    AddColorText(console, prefill);
    QCoreApplication::processEvents();
    const int firstNewBlock = console.rtfText->document()->blockCount();

    // The plain widget holds the same text with the same formats.
    QTextEdit raw;
    raw.resize(800, 600);
    raw.setFont(console.rtfText->font());
    raw.setDocument(console.rtfText->document()->clone(&raw));
    raw.show();
    raw.document()->documentLayout()->blockBoundingRect(raw.document()->lastBlock());
    QCoreApplication::processEvents();
    // And a bare document with the same text.
    std::unique_ptr<QTextDocument> bare(console.rtfText->document()->clone());

    // Alternate between the two in chunks, so both meet the same machine.
    constexpr int Chunks = 10;
    constexpr int ChunkLines = RenderedLines / Chunks;
    const QTextDocument* doc = console.rtfText->document();
    QTextCursor cursor(raw.document());
    cursor.movePosition(QTextCursor::End);
    QTextCursor bareCursor(bare.get());
    bareCursor.movePosition(QTextCursor::End);
    double consoleSeconds = 0;
    double rawSeconds = 0;
    double bareSeconds = 0;
    double heapGrowth = 0;
    int nextBlock = firstNewBlock;
    QElapsedTimer timer;
    for (int chunk = 0; chunk < Chunks; ++chunk) {
        const double heapBefore = heapMiB();
        timer.start();
        for (int i = chunk * ChunkLines; i < (chunk + 1) * ChunkLines; ++i)
            AddColorText(console, lines.at(i));
        consoleSeconds += timer.nsecsElapsed() / 1e9;
        QCoreApplication::processEvents();
        heapGrowth += heapMiB() - heapBefore;

        // The runs the console made of these lines, one list per line.
        std::vector<std::vector<Run>> runs;
        for (QTextBlock b = doc->findBlockByNumber(nextBlock); b.isValid(); b = b.next()) {
            std::vector<Run> lineRuns;
            for (auto it = b.begin(); !it.atEnd(); ++it)
                lineRuns.push_back({it.fragment().text(), it.fragment().charFormat()});
            runs.push_back(std::move(lineRuns));
        }
        nextBlock = doc->blockCount();
        if (runs.size() != static_cast<size_t>(ChunkLines)) {
            std::fprintf(stderr, "console_render: %zu lines rendered, expected %d\n", runs.size(),
                         ChunkLines);
            return 1;
        }

        timer.start();
        for (const std::vector<Run>& lineRuns : runs) {
            cursor.beginEditBlock();
            cursor.insertBlock();
            for (const Run& run : lineRuns)
                cursor.insertText(run.text, run.format);
            cursor.endEditBlock();
        }
        rawSeconds += timer.nsecsElapsed() / 1e9;
        QCoreApplication::processEvents();

        timer.start();
        for (const std::vector<Run>& lineRuns : runs) {
            bareCursor.beginEditBlock();
            bareCursor.insertBlock();
            for (const Run& run : lineRuns)
                bareCursor.insertText(run.text, run.format);
            bareCursor.endEditBlock();
        }
        bareSeconds += timer.nsecsElapsed() / 1e9;
    }
    if (raw.document()->characterCount() != doc->characterCount()) {
        std::fprintf(stderr,
                     "console_render: the plain widget holds %d characters, the console %d\n",
                     raw.document()->characterCount(), doc->characterCount());
        return 1;
    }

    const double consoleRate = RenderedLines / consoleSeconds;
    const double widgetRate = RenderedLines / rawSeconds;
    const double bareRate = RenderedLines / bareSeconds;
    std::printf("console_render_lines_per_s: %.0f lines/s\n", consoleRate);
    std::printf("console_render_ratio_to_raw: %.2f ratio\n", consoleRate / bareRate);
    std::printf("console_render_ratio_to_plain_widget: %.2f ratio\n", consoleRate / widgetRate);
    std::printf("console_memory_mib_per_10k_lines: %.2f MiB\n",
                heapGrowth * 10000.0 / RenderedLines);
    return 0;
}
