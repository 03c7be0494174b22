// The IRC line codec on its own: parsing against the shared parser vectors,
// framing of the byte stream, text decoding, CTCP, the encoding of sent lines
// and the mapping of server lines to the control's events.

#include "platform/irc/Ctcp.h"
#include "platform/irc/IrcEventMapper.h"
#include "platform/irc/IrcLineBuffer.h"
#include "platform/irc/IrcLineEncoder.h"
#include "platform/irc/IrcMask.h"
#include "platform/irc/IrcMessage.h"
#include "platform/text/DecodeText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QRandomGenerator>
#include <QtTest>

using namespace platform;

namespace {

QJsonArray loadVectors(const QString& name) {
    QFile file(QStringLiteral(PARLONE_IRC_TESTDATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value(u"tests").toArray();
}

QStringList toStringList(const QJsonValue& value) {
    QStringList out;
    for (const QJsonValue& v : value.toArray())
        out.append(v.toString());
    return out;
}

QString kindName(IrcEvent::Kind kind) {
    return QString::fromLatin1(QMetaEnum::fromType<IrcEvent::Kind>().valueToKey(int(kind)));
}

// The event for one line, as "Kind" plus its arguments; "" when none.
struct Mapped {
    QString kind;
    QStringList args;
    QStringList params;
};

Mapped mapLine(IrcEventMapper& mapper, const QString& line) {
    const auto msg = IrcMessage::parse(line);
    if (!msg)
        return {QStringLiteral("unparsed"), {}, {}};
    const auto event = mapper.map(*msg);
    if (!event)
        return {};
    return {kindName(event->kind), event->args, event->params};
}

} // namespace

class TestIrcCodec : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void parserVectors_data();
    void parserVectors();
    void maskVectors_data();
    void maskVectors();
    void unparseableLinesGiveNothing_data();
    void unparseableLinesGiveNothing();
    void invalidUtf8IsReadAsLatin1_data();
    void invalidUtf8IsReadAsLatin1();
    void framingOnCrLfOrLf_data();
    void framingOnCrLfOrLf();
    void framingHoldsBoundedBytes();
    void ctcpFraming_data();
    void ctcpFraming();
    void ctcpUnframing_data();
    void ctcpUnframing();
    void sentLinesCannotCarryLineEnds_data();
    void sentLinesCannotCarryLineEnds();
    void sentLinesAreCutOnCharacterBoundary_data();
    void sentLinesAreCutOnCharacterBoundary();
    void eventMapping_data();
    void eventMapping();
    void statusMessagesAreForTheChannel_data();
    void statusMessagesAreForTheChannel();
    void motdIsCollectedOncePerMotd();
    void currentNickFollowsWelcomeAndNick();
    void hostileInputNeverBreaksTheCodec();
    void hostileLinesCannotForgeALine_data();
    void hostileLinesCannotForgeALine();
};

void TestIrcCodec::initTestCase() {
    // The vectors must be there: a missing or broken file fails, never skips.
    QVERIFY2(!loadVectors(QStringLiteral("msg-split.json")).isEmpty(),
             "tests/platform/irc/data/msg-split.json is missing or empty");
    QVERIFY2(!loadVectors(QStringLiteral("userhost-split.json")).isEmpty(),
             "tests/platform/irc/data/userhost-split.json is missing or empty");
}

void TestIrcCodec::parserVectors_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QJsonObject>("atoms");
    int i = 0;
    for (const QJsonValue& v : loadVectors(QStringLiteral("msg-split.json"))) {
        const QJsonObject t = v.toObject();
        QTest::addRow("%d: %s", i++, qPrintable(t.value(u"input").toString()))
            << t.value(u"input").toString() << t.value(u"atoms").toObject();
    }
}

void TestIrcCodec::parserVectors() {
    QFETCH(QString, input);
    QFETCH(QJsonObject, atoms);
    const auto msg = IrcMessage::parse(input);
    QVERIFY(msg);
    QMap<QString, QString> tags;
    const QJsonObject tagAtoms = atoms.value(u"tags").toObject();
    for (auto it = tagAtoms.begin(); it != tagAtoms.end(); ++it)
        tags.insert(it.key(), it.value().toString());
    QCOMPARE(msg->tags, tags);
    QCOMPARE(msg->source, atoms.value(u"source").toString());
    QCOMPARE(msg->command, atoms.value(u"verb").toString());
    QCOMPARE(msg->params, toStringList(atoms.value(u"params")));
}

void TestIrcCodec::maskVectors_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QJsonObject>("atoms");
    for (const QJsonValue& v : loadVectors(QStringLiteral("userhost-split.json"))) {
        const QJsonObject t = v.toObject();
        QTest::newRow(qPrintable(t.value(u"source").toString()))
            << t.value(u"source").toString() << t.value(u"atoms").toObject();
    }
}

void TestIrcCodec::maskVectors() {
    QFETCH(QString, source);
    QFETCH(QJsonObject, atoms);
    const IrcMask mask = IrcMask::split(source);
    QCOMPARE(mask.nick, atoms.value(u"nick").toString());
    QCOMPARE(mask.user, atoms.value(u"user").toString());
    QCOMPARE(mask.host, atoms.value(u"host").toString());
    QCOMPARE(IrcMask::nickOf(source), mask.nick);
}

void TestIrcCodec::unparseableLinesGiveNothing_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << QString();
    QTest::newRow("blanks") << QStringLiteral("    ");
    QTest::newRow("colon") << QStringLiteral(":");
    QTest::newRow("prefix alone") << QStringLiteral(":irc.test");
    QTest::newRow("prefix and blanks") << QStringLiteral(":irc.test   ");
    QTest::newRow("tags alone") << QStringLiteral("@a=b;c");
    QTest::newRow("tags and prefix") << QStringLiteral("@a=b :irc.test ");
    QTest::newRow("NUL inside") << QStringLiteral("PRIVMSG #a :x") + QChar(0) + QStringLiteral("y");
}

void TestIrcCodec::unparseableLinesGiveNothing() {
    QFETCH(QString, line);
    QVERIFY(!IrcMessage::parse(line));
}

void TestIrcCodec::invalidUtf8IsReadAsLatin1_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("ascii") << QByteArray("PRIVMSG #a :hi") << QStringLiteral("PRIVMSG #a :hi");
    QTest::newRow("utf-8") << QByteArray("caf\xc3\xa9 \xe2\x82\xac") << QStringLiteral("café €");
    QTest::newRow("latin-1 byte") << QByteArray("caf\xe9") << QStringLiteral("café");
    QTest::newRow("mixed: whole line is latin-1")
        << QByteArray("\xc3\xa9\xe9") << QString::fromLatin1("\xc3\xa9\xe9");
    QTest::newRow("cut sequence") << QByteArray("x\xe2\x82") << QString::fromLatin1("x\xe2\x82");
    QTest::newRow("overlong") << QByteArray("\xc0\xaf") << QString::fromLatin1("\xc0\xaf");
    QTest::newRow("surrogate") << QByteArray("\xed\xa0\x80") << QString::fromLatin1("\xed\xa0\x80");
    QTest::newRow("byte order mark left out")
        << QByteArray("\xef\xbb\xbfhi") << QStringLiteral("hi");
    QTest::newRow("empty") << QByteArray() << QString();
}

void TestIrcCodec::invalidUtf8IsReadAsLatin1() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(IrcMessage::decode(bytes), text);
    QCOMPARE(DecodeUtf8OrLatin1(bytes), text); // the same for files
}

void TestIrcCodec::framingOnCrLfOrLf_data() {
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArrayList>("lines");
    const QByteArray longest(IrcLineBuffer::MaxLineBytes, 'x');
    QTest::newRow("CR LF and LF") << QByteArrayList{"A\r\nB\nC"} << QByteArrayList{"A", "B"};
    QTest::newRow("across reads") << QByteArrayList{"PRIV", "MSG a :b\r", "\nNEXT\n"}
                                  << QByteArrayList{"PRIVMSG a :b", "NEXT"};
    QTest::newRow("empty lines") << QByteArrayList{"\r\n\n\r\nX\n\r\n"} << QByteArrayList{"X"};
    QTest::newRow("CR inside a line stays") << QByteArrayList{"A\rB\r\n"} << QByteArrayList{"A\rB"};
    QTest::newRow("longest line kept")
        << QByteArrayList{longest + "\r\n" + "N\n"} << QByteArrayList{longest, "N"};
    QTest::newRow("longest line without CR kept")
        << QByteArrayList{longest + "\nN\n"} << QByteArrayList{longest, "N"};
    QTest::newRow("one byte more dropped")
        << QByteArrayList{longest + "y\r\nN\r\n"} << QByteArrayList{"N"};
    QTest::newRow("one byte more without CR dropped")
        << QByteArrayList{longest + "y\nN\n"} << QByteArrayList{"N"};
    QTest::newRow("long line over many reads dropped")
        << QByteArrayList{QByteArray(5000, 'y'), QByteArray(5000, 'y'), "y\r", "\nNEXT\r\n"}
        << QByteArrayList{"NEXT"};
    QTest::newRow("long line between kept ones")
        << QByteArrayList{"A\r\n" + longest + "y\r\nB\r\nC", "\n"} << QByteArrayList{"A", "B", "C"};
    QTest::newRow("line ended, then a long one in the same read")
        << QByteArrayList{"PRIV", "MSG x\r\n" + longest + "yy\nN\n"}
        << QByteArrayList{"PRIVMSG x", "N"};
}

void TestIrcCodec::framingOnCrLfOrLf() {
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArrayList, lines);
    // Lines taken after every read, and lines left waiting while more is read.
    for (const bool takeEachRead : {true, false}) {
        IrcLineBuffer buffer;
        QByteArrayList got;
        QByteArrayView line;
        for (const QByteArray& chunk : chunks) {
            buffer.append(chunk);
            while (takeEachRead && buffer.takeLine(line))
                got.append(line.toByteArray());
        }
        while (buffer.takeLine(line))
            got.append(line.toByteArray());
        QCOMPARE(got, lines);
    }
}

void TestIrcCodec::framingHoldsBoundedBytes() {
    IrcLineBuffer buffer;
    QByteArrayView line;
    // A line that does not end, behind one that does in the same read.
    buffer.append("A\r\n" + QByteArray(20000, 'z'));
    QVERIFY(buffer.takeLine(line));
    QVERIFY(!buffer.takeLine(line));
    QVERIFY(buffer.bufferedBytes() <= IrcLineBuffer::MaxLineBytes + 1);
    const QByteArray chunk(4096, 'z');
    for (int i = 0; i < 256; ++i) { // 1 MiB without a line end
        buffer.append(chunk);
        QVERIFY(!buffer.takeLine(line));
        QVERIFY(buffer.bufferedBytes() <= IrcLineBuffer::MaxLineBytes + 1);
    }
    buffer.append("zz\r\nPING :after\r\n");
    QVERIFY(buffer.takeLine(line));
    QCOMPARE(line.toByteArray(), QByteArray("PING :after"));
    QCOMPARE(buffer.droppedLines(), 1);
    QCOMPARE(buffer.bufferedBytes(), 0);
}

void TestIrcCodec::ctcpFraming_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("params");
    QTest::addColumn<QString>("framed");
    QTest::newRow("no params") << "VERSION"
                               << ""
                               << "\x01VERSION\x01";
    QTest::newRow("params") << "PING"
                            << "1700000000"
                            << "\x01PING 1700000000\x01";
    QTest::newRow("action") << "ACTION"
                            << "waves  twice"
                            << "\x01"
                               "ACTION waves  twice\x01";
    QTest::newRow("command ending in a blank") << "DCC SEND "
                                               << "f.txt 2130706433 5000 42"
                                               << "\x01"
                                                  "DCC SEND f.txt 2130706433 5000 42\x01";
    QTest::newRow("command ending in blanks, no params") << "DCC SEND  "
                                                         << ""
                                                         << "\x01"
                                                            "DCC SEND\x01";
    QTest::newRow("chat offer") << "DCC CHAT chat"
                                << "2130706433 4000"
                                << "\x01"
                                   "DCC CHAT chat 2130706433 4000\x01";
    QTest::newRow("delimiter and line ends taken out") << "PI\x01NG"
                                                       << "a\x01\r\nb"
                                                       << "\x01PING ab\x01";
}

void TestIrcCodec::ctcpFraming() {
    QFETCH(QString, command);
    QFETCH(QString, params);
    QFETCH(QString, framed);
    QCOMPARE(Ctcp::frame(command, params), framed);
}

void TestIrcCodec::ctcpUnframing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("isFrame");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("params");
    QTest::newRow("no params") << "\x01VERSION\x01" << true << "VERSION"
                               << "";
    QTest::newRow("params") << "\x01PING 123 456\x01" << true << "PING"
                            << "123 456";
    QTest::newRow("blanks kept in params") << "\x01"
                                              "ACTION  waves \x01"
                                           << true << "ACTION"
                                           << " waves ";
    QTest::newRow("dcc send") << "\x01"
                                 "DCC SEND f.txt 1 2 3\x01"
                              << true << "DCC"
                              << "SEND f.txt 1 2 3";
    QTest::newRow("case as received") << "\x01version\x01" << true << "version"
                                      << "";
    QTest::newRow("closing delimiter missing") << "\x01PING 5" << true << "PING"
                                               << "5";
    QTest::newRow("text after the frame ignored") << "\x01TIME\x01 and more" << true << "TIME"
                                                  << "";
    QTest::newRow("empty frame") << "\x01\x01" << true << ""
                                 << "";
    QTest::newRow("plain text") << "hello" << false << ""
                                << "";
    QTest::newRow("delimiter not first") << "x\x01VERSION\x01" << false << ""
                                         << "";
}

void TestIrcCodec::ctcpUnframing() {
    QFETCH(QString, text);
    QFETCH(bool, isFrame);
    QFETCH(QString, command);
    QFETCH(QString, params);
    const auto msg = Ctcp::unframe(text);
    QCOMPARE(bool(msg), isFrame);
    if (msg) {
        QCOMPARE(msg->command, command);
        QCOMPARE(msg->params, params);
    }
}

void TestIrcCodec::sentLinesCannotCarryLineEnds_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("command: CR LF inside")
        << "command"
        << "PRIVMSG #a :hi\r\nQUIT :x" << QByteArray("PRIVMSG #a :hiQUIT :x\r\n");
    QTest::newRow("command: lone CR, LF, NUL")
        << "command" << QStringLiteral("A\rB\nC") + QChar(0) + "D" << QByteArray("ABCD\r\n");
    QTest::newRow("command: nothing left") << "command"
                                           << "\r\n"
                                           << QByteArray();
    QTest::newRow("raw: caller's CR LF is the end") << "raw"
                                                    << "QUIT :bye\r\n"
                                                    << QByteArray("QUIT :bye\r\n");
    QTest::newRow("raw: LF as end") << "raw"
                                    << "QUIT :bye\n"
                                    << QByteArray("QUIT :bye\r\n");
    QTest::newRow("raw: second line joined") << "raw"
                                             << "PRIVMSG a :x\r\nKILL b\r\n"
                                             << QByteArray("PRIVMSG a :xKILL b\r\n");
    QTest::newRow("raw: only one end taken") << "raw"
                                             << "A\r\n\r\n"
                                             << QByteArray("A\r\n");
    QTest::newRow("raw: without end") << "raw"
                                      << "A" << QByteArray("A\r\n");
    QTest::newRow("word: blanks and line ends out") << "word"
                                                    << "#a b\r\nc" << QByteArray("#abc");
}

void TestIrcCodec::sentLinesCannotCarryLineEnds() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QByteArray, wire);
    if (kind == u"command")
        QCOMPARE(IrcLineEncoder::encode(text), wire);
    else if (kind == u"raw")
        QCOMPARE(IrcLineEncoder::encode(IrcLineEncoder::rawLine(text)), wire);
    else
        QCOMPARE(IrcLineEncoder::word(text).toUtf8(), wire);
}

void TestIrcCodec::sentLinesAreCutOnCharacterBoundary_data() {
    QTest::addColumn<int>("asciiBytes");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<int>("keptBytes");
    const QString euro = QStringLiteral("€");           // 3 bytes
    const QString emoji = QStringLiteral("\U0001F600"); // 4 bytes
    QTest::newRow("fits exactly") << 507 << euro << 510;
    QTest::newRow("cut before a 3-byte char, 1 byte in") << 509 << euro << 509;
    QTest::newRow("cut before a 3-byte char, 2 bytes in") << 508 << euro << 508;
    QTest::newRow("cut before a 4-byte char") << 507 << emoji << 507;
    QTest::newRow("4-byte char fits") << 506 << emoji << 510;
    QTest::newRow("long tail of multibyte") << 0 << QString(400, QChar(0x00e9)) << 510;
    QTest::newRow("long tail of 3-byte") << 1 << QString(400, QChar(0x20ac)) << 508;
}

void TestIrcCodec::sentLinesAreCutOnCharacterBoundary() {
    QFETCH(int, asciiBytes);
    QFETCH(QString, tail);
    QFETCH(int, keptBytes);
    const QString line = QString(asciiBytes, u'a') + tail + tail;
    const QByteArray wire = IrcLineEncoder::encode(line);
    QVERIFY(wire.endsWith("\r\n"));
    const QByteArray body = wire.chopped(2);
    QCOMPARE(body.size(), keptBytes);
    QVERIFY(line.toUtf8().startsWith(body));
    QCOMPARE(IrcMessage::decode(body).toUtf8(), body); // still valid UTF-8
}

void TestIrcCodec::eventMapping_data() {
    QTest::addColumn<bool>("registered");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("params");
    const QString m = QStringLiteral("bob!~b@host.test");
    using L = QStringList;
    auto row = [](const char* name, bool registered, const QString& line, const char* kind,
                  const QStringList& args, const QStringList& params = {}) {
        QTest::newRow(name) << registered << line << QString::fromLatin1(kind) << args << params;
    };
    row("welcome", false, ":irc.test 001 alice :Welcome alice", "Welcome",
        L{"irc.test", "Welcome alice"});
    row("welcome without text", false, ":irc.test 001 alice", "", {});
    row("channel message, tags ignored", true, "@time=x;+y=z :" + m + " PRIVMSG #c :hi there",
        "ChannelMessage", L{m, "#c", "hi there"});
    row("local channel", true, ":" + m + " PRIVMSG &c :hi", "ChannelMessage", L{m, "&c", "hi"});
    row("private message", true, ":" + m + " PRIVMSG alice :psst", "PrivateMessage", L{m, "psst"});
    row("message without text", true, ":" + m + " PRIVMSG #c", "", {});
    row("ctcp request", true, ":" + m + " PRIVMSG alice :\x01VERSION\x01", "CtcpRequest",
        L{m, "alice", "VERSION", ""});
    row("ctcp action to channel", true,
        ":" + m +
            " PRIVMSG #c :\x01"
            "ACTION waves\x01",
        "CtcpRequest", L{m, "#c", "ACTION", "waves"});
    row("ctcp dcc", true,
        ":" + m +
            " PRIVMSG alice :\x01"
            "DCC SEND f 1 2 3\x01",
        "CtcpRequest", L{m, "alice", "DCC", "SEND f 1 2 3"});
    row("empty ctcp dropped", true, ":" + m + " PRIVMSG alice :\x01\x01", "", {});
    row("ctcp reply", true, ":" + m + " NOTICE alice :\x01PING 123\x01", "CtcpReply",
        L{"bob", "alice", "PING", "123"});
    row("user notice", true, ":" + m + " NOTICE #c :note", "NoticeReceived", L{m, "#c", "note"});
    row("server notice", true, ":irc.test NOTICE alice :server says", "ServerNotice",
        L{"server says"});
    row("notice without prefix", true, "NOTICE alice :plain", "ServerNotice", L{"plain"});
    row("notice before registration", false, "NOTICE * :*** Looking up", "ServerNotice",
        L{"*** Looking up"});
    row("user notice before registration", false, ":" + m + " NOTICE alice :early", "ServerNotice",
        L{"early"});
    row("notice without text", true, ":" + m + " NOTICE alice", "", {});
    row("ping", false, "PING :irc.test", "ServerPing", L{"irc.test"});
    row("ping, plain parameter", true, "PING irc.test", "ServerPing", L{"irc.test"});
    row("ping without token", true, "PING", "", {});
    row("error", true, "ERROR :Closing connection", "ServerError", L{"Closing connection"});
    row("error without text", true, "ERROR", "", {});
    row("join", true, ":" + m + " JOIN #c", "UserJoined", L{m, "#c"});
    row("join, trailing", true, ":" + m + " JOIN :#c", "UserJoined", L{m, "#c"});
    row("join without channel", true, ":" + m + " JOIN", "", {});
    row("join, empty channel", true, ":" + m + " JOIN :", "", {});
    row("part with reason", true, ":" + m + " PART #c :bye", "UserParted", L{m, "#c"});
    row("part, empty channel", true, ":" + m + " PART :", "", {});
    row("kick", true, ":" + m + " KICK #c carol :flood", "UserKicked",
        L{m, "#c", "carol", "flood"});
    row("kick without reason", true, ":" + m + " KICK #c carol", "UserKicked",
        L{m, "#c", "carol", ""});
    row("kick without nick", true, ":" + m + " KICK #c", "", {});
    row("kick, empty nick", true, ":" + m + " KICK #c :", "", {});
    row("quit", true, ":" + m + " QUIT :Quit: bye", "UserQuit", L{m, "Quit: bye"});
    row("quit without reason", true, ":" + m + " QUIT", "UserQuit", L{m, ""});
    row("nick", true, ":" + m + " NICK :bobby", "NickChanged", L{m, "bobby"});
    row("nick without new nick", true, ":" + m + " NICK", "", {});
    row("nick, empty new nick", true, ":" + m + " NICK :", "", {});
    row("compact mode", true, ":" + m + " MODE #c +ov carol dave", "ModeChanged",
        L{m, "#c", "+ov carol dave"});
    row("user mode", true, ":alice MODE alice :+i", "ModeChanged", L{"alice", "alice", "+i"});
    row("mode without modes", true, ":" + m + " MODE #c", "", {});
    row("topic", true, ":" + m + " TOPIC #c :new topic", "TopicChanged", L{m, "#c", "new topic"});
    row("topic cleared", true, ":" + m + " TOPIC #c :", "TopicChanged", L{m, "#c", ""});
    row("invite", true, ":" + m + " INVITE alice :#c", "ServerReply", L{m, "INVITE", "bob", "#c"});
    row("invite without channel", true, ":" + m + " INVITE alice", "", {});
    row("invite, empty channel", true, ":" + m + " INVITE alice :", "", {});

    // Without a source the line comes from the server itself: what a user
    // does needs the user's nick, what the server does is still raised.
    row("no source: message", true, "PRIVMSG alice :hi", "", {});
    row("no source: channel message", true, "PRIVMSG #c :hi", "", {});
    row("no source: ctcp", true, "PRIVMSG alice :\x01VERSION\x01", "", {});
    row("no source: join", true, "JOIN #c", "", {});
    row("no source: part", true, "PART #c :bye", "", {});
    row("no source: quit", true, "QUIT :bye", "", {});
    row("no source: nick", true, "NICK :bobby", "", {});
    row("no source: invite", true, "INVITE alice :#c", "", {});
    row("no source: notice", true, "NOTICE #c :hello", "ServerNotice", L{"hello"});
    row("no source: mode", true, "MODE #c +o carol", "ModeChanged", L{"", "#c", "+o carol"});
    row("no source: topic", true, "TOPIC #c :set", "TopicChanged", L{"", "#c", "set"});
    row("no source: kick", true, "KICK #c alice :out", "UserKicked", L{"", "#c", "alice", "out"});
    row("source without a nick: message", true, ":!~b@h PRIVMSG #c :hi", "", {});
    row("source without a nick: join", true, ":@h JOIN #c", "", {});
    row("ison", true, ":irc.test 303 alice :bob  carol ", "IsonReply", L{"alice", "bob carol"});
    row("ison, nobody", true, ":irc.test 303 alice :", "IsonReply", L{"alice", ""});
    row("ison without list", true, ":irc.test 303 alice", "", {});
    row("names", true, ":irc.test 353 alice = #c :@alice +bob carol ", "NamesReply",
        L{"#c", "@alice +bob carol"});
    row("names without kind", true, ":irc.test 353 alice #c :x", "NamesReply", L{"#c", "x"});
    row("names, public kind and no channel", true, ":irc.test 353 alice = :x", "", {});
    row("names, private kind and no channel", true, ":irc.test 353 alice * :x", "", {});
    row("names, secret kind and no channel", true, ":irc.test 353 alice @ :x", "", {});
    row("channel modes", true, ":irc.test 324 alice #c +ntl 10", "ChannelModeReply",
        L{"#c", "+ntl 10"});
    row("user modes", true, ":irc.test 221 alice +iw", "UserModeReply", L{"+iw"});
    row("topic reply", true, ":irc.test 332 alice #c :the topic", "TopicReply",
        L{"#c", "the topic"});
    row("topic set by", true, ":irc.test 333 alice #c bob!~b@h 1700000000", "TopicSetByReply",
        L{"#c", "bob!~b@h", "1700000000"});
    row("topic set by, short", true, ":irc.test 333 alice #c bob", "", {});
    row("who", true, ":irc.test 352 alice #c ~bob host.test irc.test bob H@ :0 Bob B.", "WhoReply",
        L{"#c", "~bob", "host.test", "bob", "irc.test", "Bob B."});
    row("who without real name", true, ":irc.test 352 alice #c ~bob h irc.test bob H :3",
        "WhoReply", L{"#c", "~bob", "h", "bob", "irc.test", ""});
    row("who without hop count", true, ":irc.test 352 alice #c ~bob h irc.test bob H :John Smith",
        "WhoReply", L{"#c", "~bob", "h", "bob", "irc.test", "John Smith"});
    row("who, one word without hop count", true, ":irc.test 352 alice #c ~bob h irc.test bob H :Jo",
        "WhoReply", L{"#c", "~bob", "h", "bob", "irc.test", "Jo"});
    row("who, signed hop count is a name", true,
        ":irc.test 352 alice #c ~bob h irc.test bob H :-1 Bob", "WhoReply",
        L{"#c", "~bob", "h", "bob", "irc.test", "-1 Bob"});
    row("who, short", true, ":irc.test 352 alice #c ~bob host.test", "", {});
    row("motd line raises nothing", true, ":irc.test 372 alice :- hello", "", {});
    row("whois user", true, ":irc.test 311 alice bob ~b host.test * :Bob B.", "ServerReply",
        L{"irc.test", "311", "alice", "Bob B."}, L{"bob", "~b", "host.test", "*"});
    row("whois server", true, ":irc.test 312 alice bob irc.test :Test server", "ServerReply",
        L{"irc.test", "312", "alice", "Test server"}, L{"bob", "irc.test"});
    row("whois idle", true, ":irc.test 317 alice bob 12 1700000000 :seconds idle", "ServerReply",
        L{"irc.test", "317", "alice", "seconds idle"}, L{"bob", "12", "1700000000"});
    row("whois channels", true, ":irc.test 319 alice bob :@#c #d", "ServerReply",
        L{"irc.test", "319", "alice", "@#c #d"}, L{"bob"});
    row("no such nick", true, ":irc.test 401 alice nobody :No such nick", "ServerReply",
        L{"irc.test", "401", "alice", "No such nick"}, L{"nobody"});
    row("nick in use", false, ":irc.test 433 * alice :Nickname already in use", "ServerReply",
        L{"irc.test", "433", "*", "Nickname already in use"}, L{"alice"});
    row("list item", true, ":irc.test 322 alice #c 3 :a topic", "ServerReply",
        L{"irc.test", "322", "alice", "a topic"}, L{"#c", "3"});
    row("unaway", true, ":irc.test 305 alice :You are no longer away", "ServerReply",
        L{"irc.test", "305", "alice", "You are no longer away"});
    row("subject written without colon", true, ":irc.test 366 alice #c End", "ServerReply",
        L{"irc.test", "366", "alice", "End"}, L{"#c"});
    row("one parameter", false, ":irc.test 451 :You have not registered", "ServerReply",
        L{"irc.test", "451", "You have not registered", "You have not registered"});
    row("no parameters", true, ":irc.test 999", "ServerReply", L{"irc.test", "999", "", ""});
    row("other command", true, "CAP * LS :multi-prefix sasl", "ServerReply",
        L{"", "CAP", "*", "multi-prefix sasl"}, L{"LS"});
    row("pong", true, ":irc.test PONG irc.test :token", "ServerReply",
        L{"irc.test", "PONG", "irc.test", "token"});
    row("command in lower case", true, ":" + m + " privmsg #c :hi", "ChannelMessage",
        L{m, "#c", "hi"});
}

void TestIrcCodec::eventMapping() {
    QFETCH(bool, registered);
    QFETCH(QString, line);
    QFETCH(QString, kind);
    QFETCH(QStringList, args);
    QFETCH(QStringList, params);
    IrcEventMapper mapper;
    if (registered)
        QCOMPARE(mapLine(mapper, QStringLiteral(":irc.test 001 alice :Welcome")).kind,
                 QStringLiteral("Welcome"));
    const Mapped got = mapLine(mapper, line);
    QCOMPARE(got.kind, kind);
    QCOMPARE(got.args, args);
    QCOMPARE(got.params, params);
}

void TestIrcCodec::statusMessagesAreForTheChannel_data() {
    QTest::addColumn<QString>("isupport"); // the server's 005 line, or ""
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("args");
    const QString m = QStringLiteral("bob!~b@host.test");
    const QString statusmsg = QStringLiteral(":irc.test 005 alice CHANTYPES=#& STATUSMSG=%1 "
                                             ":are supported by this server");
    using L = QStringList;
    auto row = [](const char* name, const QString& isupport, const QString& line, const char* kind,
                  const QStringList& args) {
        QTest::newRow(name) << isupport << line << QString::fromLatin1(kind) << args;
    };
    row("to operators", "", ":" + m + " PRIVMSG @#c :ops only", "ChannelMessage",
        L{m, "#c", "ops only"});
    row("to voiced", "", ":" + m + " PRIVMSG +#c :hi", "ChannelMessage", L{m, "#c", "hi"});
    row("to operators and voiced", "", ":" + m + " PRIVMSG @+#c :hi", "ChannelMessage",
        L{m, "#c", "hi"});
    row("action to operators", "",
        ":" + m +
            " PRIVMSG @#c :\x01"
            "ACTION waves\x01",
        "CtcpRequest", L{m, "#c", "ACTION", "waves"});
    row("notice to operators", "", ":" + m + " NOTICE @#c :note", "NoticeReceived",
        L{m, "#c", "note"});
    row("ctcp reply to voiced", "", ":" + m + " NOTICE +#c :\x01PING 1\x01", "CtcpReply",
        L{"bob", "#c", "PING", "1"});
    row("local channel", "", ":" + m + " PRIVMSG @&c :hi", "ChannelMessage", L{m, "&c", "hi"});
    // Channel names are the server's CHANTYPES, "#&" until it names them.
    row("+c is no channel by default", "", ":" + m + " PRIVMSG +c :hi", "PrivateMessage",
        L{m, "hi"});
    row("+c stays a channel where + is a channel type",
        ":irc.test 005 alice CHANTYPES=#+ :are supported by this server",
        ":" + m + " PRIVMSG +c :hi", "ChannelMessage", L{m, "+c", "hi"});
    row("an empty CHANTYPES leaves the usual ones",
        ":irc.test 005 alice CHANTYPES= :are supported by this server", ":" + m + " PRIVMSG &c :hi",
        "ChannelMessage", L{m, "&c", "hi"});
    row("prefix before a nick stays", "", ":" + m + " PRIVMSG @alice :psst", "PrivateMessage",
        L{m, "psst"});
    row("the server's own prefixes", statusmsg.arg("~&@%+"), ":" + m + " PRIVMSG %#c :hi",
        "ChannelMessage", L{m, "#c", "hi"});
    row("a prefix the server does not name", statusmsg.arg("@"), ":" + m + " PRIVMSG +#c :hi",
        "PrivateMessage", L{m, "hi"});
    row("none named", statusmsg.arg(""), ":" + m + " PRIVMSG @#c :hi", "PrivateMessage",
        L{m, "hi"});
    row("withdrawn: the usual ones again", ":irc.test 005 alice -STATUSMSG :are supported",
        ":" + m + " PRIVMSG @#c :hi", "ChannelMessage", L{m, "#c", "hi"});
}

void TestIrcCodec::statusMessagesAreForTheChannel() {
    QFETCH(QString, isupport);
    QFETCH(QString, line);
    QFETCH(QString, kind);
    QFETCH(QStringList, args);
    IrcEventMapper mapper;
    QCOMPARE(mapLine(mapper, QStringLiteral(":irc.test 001 alice :Welcome")).kind,
             QStringLiteral("Welcome"));
    if (!isupport.isEmpty()) {
        // The frame still hears the line itself.
        QCOMPARE(mapLine(mapper, QStringLiteral(":irc.test 005 alice STATUSMSG=! :x")).kind,
                 QStringLiteral("ServerReply"));
        QCOMPARE(mapLine(mapper, isupport).kind, QStringLiteral("ServerReply"));
    }
    const Mapped got = mapLine(mapper, line);
    QCOMPARE(got.kind, kind);
    QCOMPARE(got.args, args);
    // A new connection starts with the usual prefixes.
    mapper.reset();
    QCOMPARE(mapLine(mapper, ":" + QStringLiteral("bob!~b@h PRIVMSG @#c :x")).args.value(1),
             QStringLiteral("#c"));
}

void TestIrcCodec::motdIsCollectedOncePerMotd() {
    IrcEventMapper mapper;
    QStringList kinds;
    Mapped motd;
    for (const char* line :
         {":irc.test 375 alice :- irc.test message of the day", ":irc.test 372 alice :- line one",
          ":irc.test 372 alice :- line two", ":irc.test 376 alice :End of MOTD command"}) {
        const Mapped got = mapLine(mapper, QString::fromLatin1(line));
        if (!got.kind.isEmpty())
            motd = got;
        kinds.append(got.kind);
    }
    QCOMPARE(kinds, (QStringList{"", "", "", "MotdReceived"}));
    QCOMPARE(motd.args, (QStringList{"irc.test", "- line one\r\n- line two"}));

    // A later MOTD starts afresh; with none, the server's words are the text.
    motd = mapLine(mapper, QStringLiteral(":irc.test 422 alice :MOTD file is missing"));
    QCOMPARE(motd.args, (QStringList{"irc.test", "MOTD file is missing"}));

    // A server that never stops sending MOTD lines is held to the cap.
    mapLine(mapper, QStringLiteral(":irc.test 375 alice :start"));
    const QString line = QStringLiteral(":irc.test 372 alice :- ") + QString(400, u'm');
    for (int i = 0; i < 2000; ++i)
        mapLine(mapper, line);
    motd = mapLine(mapper, QStringLiteral(":irc.test 376 alice :End"));
    QCOMPARE(motd.kind, QStringLiteral("MotdReceived"));
    QVERIFY(motd.args.value(1).size() <= IrcEventMapper::MaxMotdChars);
    QVERIFY(motd.args.value(1).startsWith(u"- mmm"));
}

void TestIrcCodec::currentNickFollowsWelcomeAndNick() {
    IrcEventMapper mapper;
    QCOMPARE(mapper.currentNick(), QString());
    mapLine(mapper, QStringLiteral(":irc.test 433 * alice :Nickname already in use"));
    QCOMPARE(mapper.currentNick(), QString());
    mapLine(mapper, QStringLiteral(":irc.test 001 alice_ :Welcome"));
    QCOMPARE(mapper.currentNick(), QStringLiteral("alice_"));
    mapLine(mapper, QStringLiteral(":bob!~b@h NICK :bobby"));
    QCOMPARE(mapper.currentNick(), QStringLiteral("alice_"));
    mapLine(mapper, QStringLiteral(":ALICE_!~a@h NICK :alicia"));
    QCOMPARE(mapper.currentNick(), QStringLiteral("alicia"));
    // A change to no nick at all is no change.
    QCOMPARE(mapLine(mapper, QStringLiteral(":alicia!~a@h NICK :")).kind, QString());
    QCOMPARE(mapper.currentNick(), QStringLiteral("alicia"));
    mapper.reset();
    QCOMPARE(mapper.currentNick(), QString());
    QVERIFY(!mapper.registered());
}

void TestIrcCodec::hostileInputNeverBreaksTheCodec() {
    // Lines built from the pieces parsers trip over, in a fixed pseudo-random
    // mix, plus raw random bytes; every event must carry all its arguments.
    const QByteArrayList pieces =
        QByteArray(
            "@|;|=|\\|\\s|:| |  |\x01|!|@h|\r|\xff|\xc3|#c|PRIVMSG|NOTICE|JOIN|KICK|MODE|001|"
            "303|352|353|333|372|376|INVITE|PING|ERROR|nick|a!b@c|+ov|\x01"
            "ACTION|TOPIC|"
            "NICK|QUIT|324|221|332")
            .split('|');
    QRandomGenerator rng(20240611);
    IrcLineBuffer buffer;
    IrcEventMapper mapper;
    QByteArray stream;
    for (int i = 0; i < 20000; ++i) {
        const int n = int(rng.bounded(12));
        for (int k = 0; k < n; ++k)
            stream += pieces[rng.bounded(pieces.size())];
        if (rng.bounded(10) == 0) {
            for (int k = 0; k < 20; ++k)
                stream += char(rng.bounded(256));
        }
        stream += rng.bounded(2) ? "\r\n" : "\n";
    }
    stream += QByteArray(20000, ' ') + "\n"; // far past the line limit
    qsizetype events = 0;
    QByteArrayView line;
    for (qsizetype at = 0; at < stream.size(); at += 997) {
        buffer.append(QByteArrayView(stream).sliced(at, qMin<qsizetype>(997, stream.size() - at)));
        while (buffer.takeLine(line)) {
            QVERIFY(line.size() <= IrcLineBuffer::MaxLineBytes);
            const QString text = IrcMessage::decode(line);
            Ctcp::unframe(text);
            const auto msg = IrcMessage::parse(text);
            if (!msg)
                continue;
            // No CR survives to show as a line break.
            QVERIFY(!msg->source.contains(u'\r') && !msg->command.contains(u'\r'));
            for (const QString& param : msg->params)
                QVERIFY(!param.contains(u'\r'));
            IrcMask::split(msg->source);
            if (const auto event = mapper.map(*msg)) {
                QCOMPARE(event->args.size(), IrcEvent::argumentCount(event->kind));
                ++events;
            }
        }
    }
    QVERIFY(events > 0);
    QCOMPARE(buffer.droppedLines(), 1);
}

void TestIrcCodec::hostileLinesCannotForgeALine_data() {
    QTest::addColumn<QByteArray>("received"); // as read from the socket
    QTest::addColumn<QStringList>("events");  // "Kind" and its arguments, one line each
    const QByteArray m = ":bob!~b@h";
    QTest::newRow("CR in the text") << m + " PRIVMSG #c :hi\r<op> fake\r\n"
                                    << QStringList{"ChannelMessage|bob!~b@h|#c|hi<op> fake"};
    QTest::newRow("CR and a forged prefix")
        << m + " PRIVMSG #c :hi\r:op!o@h PRIVMSG #c :fake\n"
        << QStringList{"ChannelMessage|bob!~b@h|#c|hi:op!o@h PRIVMSG #c :fake"};
    QTest::newRow("CR and a forged server line")
        << m + " PRIVMSG alice :x\r:irc.test NOTICE alice :*** you are banned\r\n"
        << QStringList{"PrivateMessage|bob!~b@h|x:irc.test NOTICE alice :*** you are banned"};
    QTest::newRow("CR in the prefix") << QByteArray(":bob\r!~b@h PRIVMSG #c :hi\r\n")
                                      << QStringList{"ChannelMessage|bob!~b@h|#c|hi"};
    QTest::newRow("CR in the command") << m + " PRIV\rMSG #c :hi\r\n"
                                       << QStringList{"ChannelMessage|bob!~b@h|#c|hi"};
    QTest::newRow("CR in a middle parameter") << m + " PRIVMSG #c\r :hi\r\n"
                                              << QStringList{"ChannelMessage|bob!~b@h|#c|hi"};
    QTest::newRow("CR as a parameter of its own")
        << m + " KICK #c \r carol :flood\r\n"
        << QStringList{"UserKicked|bob!~b@h|#c|carol|flood"};
    QTest::newRow("CR inside a CTCP") << m + " PRIVMSG #c :\x01"
                                             "ACTION waves\r\x01\r\n"
                                      << QStringList{"CtcpRequest|bob!~b@h|#c|ACTION|waves"};
    QTest::newRow("CR in a notice") << m + " NOTICE alice :a\r\rb\r\n"
                                    << QStringList{"NoticeReceived|bob!~b@h|alice|ab"};
    QTest::newRow("CRs alone") << QByteArray("\r\r\r\n") << QStringList{};
    QTest::newRow("CR after the line's CR") << m + " PRIVMSG #c :hi\r\r\n"
                                            << QStringList{"ChannelMessage|bob!~b@h|#c|hi"};
}

void TestIrcCodec::hostileLinesCannotForgeALine() {
    QFETCH(QByteArray, received);
    QFETCH(QStringList, events);
    IrcLineBuffer buffer;
    IrcEventMapper mapper;
    QVERIFY(mapper.map(*IrcMessage::parse(QStringLiteral(":irc.test 001 alice :Welcome"))));
    buffer.append(received);
    QStringList got;
    QByteArrayView line;
    while (buffer.takeLine(line)) {
        const auto msg = IrcMessage::parse(IrcMessage::decode(line));
        if (!msg)
            continue;
        if (const auto event = mapper.map(*msg))
            got << (QStringList{kindName(event->kind)} + event->args).join(u'|');
    }
    QCOMPARE(got, events);
}

QTEST_GUILESS_MAIN(TestIrcCodec)
#include "tst_irccodec.moc"
