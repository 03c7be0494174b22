// Fuzz target: line expansion of any typed or scripted line, on one fixed
// program state (offscreen, the clock set, three script arguments, a channel
// window with a nick selected). Every prompt is answered by the scripted
// answerer: the input up to its first LF is the line, the rest the answer to
// the first few input boxes, file prompts and choosers; later ones are
// cancelled. It stops on an expanded line past its limit.

#include "core/ExpandLine.h"
#include "core/Program.h"
#include "tests/support/ScriptedAnswerer.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QApplication>
#include <QListWidget>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

struct FixedState {
    FixedState() : program(folder.path()) {
        Program& p = program;
        p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
        p.clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 3)));
        p.settings.setValue(QStringLiteral("SERVER_PORT"), QStringLiteral("6667"));
        p.settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("alice"));
        for (int i = 1; i <= 4; ++i)
            p.BatchArgs.set(i, QStringLiteral("arg%1").arg(i));
        p.scriptArgCount = 3;
        p.serverWindow().Show();
        auto* chan = new frm_chan(p);
        chan->setTag(QStringLiteral("#chan"));
        chan->list_nicks->addItems({QStringLiteral("@bob"), QStringLiteral("+carol")});
        chan->list_nicks->setCurrentRow(0);
    }

    QTemporaryDir folder;
    Program program;
};

// The application and the state live to the end of the process and are never
// taken down: Qt's font caches go with the application, and an exit that
// tore it down half-way would read as leaks.
QApplication* app = nullptr;
FixedState* state = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    state = new FixedState;
    // Once before the inputs: a first line in the server window and the
    // choosers' first showing load fonts and caches that stay for the run.
    ScriptedAnswerer answers;
    ExpandLine(state->program, QStringLiteral("x %NOPE $?COLOR $?FONT $?FILE $?=q"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype lineEnd = bytes.indexOf('\n');
    const QString line = QString::fromUtf8(lineEnd < 0 ? bytes : bytes.first(lineEnd));
    const QString answer = lineEnd < 0 ? QString() : QString::fromUtf8(bytes.sliced(lineEnd + 1));

    ScriptedAnswerer answers;
    for (int i = 0; i < 3; ++i) {
        answers.queueInput(answer);
        answers.queueFile(answer);
        answers.queueChooserPick(answer);
    }
    const QString tag = size % 2 == 0 ? QString() : QStringLiteral("#chan");
    const QString expanded = ExpandLine(state->program, line, tag);
    check(expanded.size() <= MaxExpandedLine);
    return 0;
}
