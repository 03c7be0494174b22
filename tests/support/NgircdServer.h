#pragma once
// A real ngircd for IRC tests and benchmarks, on 127.0.0.1 and a free port,
// with a generated configuration in a temporary folder. It is stopped (by its
// own process id) when the object goes.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class NgircdServer {
public:
    struct Options {
        // Lines of the message of the day; none makes the server answer 422.
        QStringList motd{QStringLiteral("Welcome to the Parlone test server")};
        // Seconds of silence before the server sends PING, and then to wait for
        // the PONG; 0 keeps the server's defaults (ngircd takes 5 at least).
        int pingTimeout = 0;
        int pongTimeout = 0;
        // Looks up each client's host name and asks its ident server (on
        // port 113 of the client's address) for its user name.
        bool identLookups = false;
        // The longest nick the server takes; 0 keeps its default of 9.
        int maxNickLength = 0;
    };

    static constexpr const char* Binary = "/usr/sbin/ngircd";

    NgircdServer() = default;
    ~NgircdServer();
    NgircdServer(const NgircdServer&) = delete;
    NgircdServer& operator=(const NgircdServer&) = delete;

    // Starts the server and waits until it accepts connections; tries a few
    // ports before it gives up. False (with the reason in error()) on failure.
    bool start(const Options& options);
    bool start();
    void stop();

    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_port; }
    // The server's name, the prefix of its own lines.
    QString name() const { return QStringLiteral("irc.parlone.test"); }
    QString info() const { return QStringLiteral("Parlone test server"); }
    QString error() const { return m_error; }
    // What the server printed, for failure messages.
    QString output();

private:
    bool startOnPort(const Options& options, quint16 port);

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_error;
    QByteArray m_output;
};
