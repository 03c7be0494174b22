// A 100 MiB file between two programs in one process over loopback: one
// offers it, the other receives it as an accepted offer does, writing each
// arrival, acknowledging it with 4 bytes and showing its progress. Timed
// from the accepted offer to "Complete"; the received file is checked
// against the sent one (SHA-256) after the clock stops.

#include "connection/DccFileTransfer.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "platform/winsock/WinsockArray.h"
#include "tests/support/ScriptedAnswerer.h"
#include "windows/frm_dccget.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr qint64 FileSize = 100 * 1024 * 1024;

int fail(const char* what) {
    std::fprintf(stderr, "dcc_send: %s\n", what);
    return 1;
}

QByteArray sha256(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folderA;
    QTemporaryDir folderB;
    if (!folderA.isValid() || !folderB.isValid())
        return fail("no temporary folder");

    const QString sent = folderA.filePath(QStringLiteral("payload.bin"));
    {
        QFile file(sent);
        if (!file.open(QIODevice::WriteOnly))
            return fail("cannot write the file to send");
        QByteArray block(1024 * 1024, Qt::Uninitialized);
        for (qint64 done = 0; done < FileSize; done += block.size()) {
            QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(block.data()),
                                                  block.size() / 4);
            file.write(block);
        }
    }

    // The sender's "ok" box is answered at once.
    ScriptedAnswerer answers;
    Program a(folderA.path());
    Program b(folderB.path());
    a.mainFrame().Show();
    b.mainFrame().Show();
    DccFileTransfer& sender = *a.mainFrame().dccFileTransfer;
    DccFileTransfer& receiver = *b.mainFrame().dccFileTransfer;
    const int index = sender.offerFile(sent);
    if (index < 0)
        return fail("the offer does not listen");

    DccOffer offer;
    offer.kind = DccOfferKind::Send;
    offer.fileName = offer.safeName = QStringLiteral("payload.bin");
    offer.address = 0x7f000001;
    offer.port = static_cast<quint16>((*a.mainFrame().dccsend)[index]->LocalPort());
    offer.size = FileSize;
    offer.sizeWord = QString::number(FileSize);
    const QString received = folderB.filePath(QStringLiteral("payload.bin"));

    bool complete = false;
    qint64 elapsedNs = 0;
    QPointer<frm_dccget> dialog;
    QString shown;
    QElapsedTimer clock;
    // What the user sees is read as the receive ends: quitting closes the
    // windows, and each program's exit then unloads its dialogs.
    QObject::connect(&receiver, &DccFileTransfer::receiveEnded, &app,
                     [&](const QString&, bool whole) {
                         elapsedNs = clock.nsecsElapsed();
                         complete = whole;
                         if (dialog)
                             shown = dialog->Label1->text();
                         app.quit();
                     });
    QTimer::singleShot(120000, &app, [&app] { app.quit(); });
    clock.start();
    receiver.ReceiveSetUp(offer, QStringLiteral("ana!a@localhost"), received);
    dialog = receiver.receiveDialog(received);
    app.exec();

    if (!complete || elapsedNs == 0 || shown != u"Complete")
        return fail("the file did not arrive complete");
    if (sha256(received) != sha256(sent))
        return fail("the received file differs from the sent one");
    const double seconds = static_cast<double>(elapsedNs) / 1e9;
    std::printf("dcc_send_mib_per_s: %.0f MiB/s\n",
                static_cast<double>(FileSize) / (1024.0 * 1024.0) / seconds);
    return 0;
}
