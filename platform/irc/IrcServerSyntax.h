#pragma once
// What the server says a channel name and a member's status look like: the
// channel types of its 005 CHANTYPES (the first character of every channel
// name) and the status symbols of its 005 PREFIX (the marks in front of a
// nick in a names list, highest first, with the mode letter of each). Until
// the server says otherwise, and whenever it says something empty or broken,
// the defaults hold. The one place the program asks: the event mapper, the
// frame's handlers, the commands and the windows.

#include <QString>
#include <QStringList>
#include <QStringView>

namespace platform {

class IrcServerSyntax {
public:
    static constexpr QStringView DefaultChanTypes = u"#&";
    static constexpr QStringView DefaultPrefixModes = u"qaohv";
    static constexpr QStringView DefaultPrefixSymbols = u"~&@%+";

    // The tokens of a 005 line (its parameters after the nick, the last
    // one's text included, which holds none of these). CHANTYPES= with one or
    // more characters and PREFIX=(modes)symbols with as many of each (at
    // least one) take effect; an empty or broken value is passed over;
    // "-CHANTYPES" and "-PREFIX" bring the defaults back.
    void read005(const QStringList& tokens) {
        for (const QString& token : tokens) {
            if (token.startsWith(u"CHANTYPES=")) {
                const QString types = token.sliced(10);
                if (!types.isEmpty() && !types.contains(u' '))
                    m_chanTypes = types;
            } else if (token.startsWith(u"PREFIX=")) {
                readPrefix(QStringView(token).sliced(7));
            } else if (token == u"-CHANTYPES") {
                m_chanTypes = DefaultChanTypes.toString();
            } else if (token == u"-PREFIX") {
                m_prefixModes = DefaultPrefixModes.toString();
                m_prefixSymbols = DefaultPrefixSymbols.toString();
            }
        }
    }
    void reset() { *this = IrcServerSyntax(); }

    const QString& chanTypes() const { return m_chanTypes; }
    const QString& prefixSymbols() const { return m_prefixSymbols; }
    const QString& prefixModes() const { return m_prefixModes; }

    // A channel name: it begins with one of the channel types.
    bool isChannel(QStringView name) const {
        return !name.isEmpty() && m_chanTypes.contains(name.front());
    }
    // The status symbol a mode letter gives ("o": "@"); a null character
    // for a letter that gives none.
    QChar symbolOfMode(QChar mode) const {
        const qsizetype i = m_prefixModes.indexOf(mode);
        return i < 0 ? QChar() : m_prefixSymbols.at(i);
    }
    bool isStatusSymbol(QChar c) const { return m_prefixSymbols.contains(c); }
    // The rank of a status symbol: 0 for the highest; a large number for a
    // character that is none.
    qsizetype rankOf(QChar symbol) const {
        const qsizetype i = m_prefixSymbols.indexOf(symbol);
        return i < 0 ? m_prefixSymbols.size() : i;
    }
    // How many status symbols a names entry begins with ("@+bob": 2).
    qsizetype statusLength(QStringView entry) const {
        qsizetype n = 0;
        while (n < entry.size() && isStatusSymbol(entry[n]))
            ++n;
        return n;
    }
    // The leading status symbols of a names entry, and the nick after them.
    QString statusOf(const QString& entry) const { return entry.left(statusLength(entry)); }
    QString nickOf(const QString& entry) const { return entry.mid(statusLength(entry)); }

private:
    void readPrefix(QStringView value) {
        if (!value.startsWith(u'('))
            return;
        const qsizetype close = value.indexOf(u')');
        if (close < 0)
            return;
        const QStringView modes = value.sliced(1, close - 1);
        const QStringView symbols = value.sliced(close + 1);
        if (modes.isEmpty() || modes.size() != symbols.size())
            return;
        m_prefixModes = modes.toString();
        m_prefixSymbols = symbols.toString();
    }

    QString m_chanTypes = DefaultChanTypes.toString();
    QString m_prefixModes = DefaultPrefixModes.toString();
    QString m_prefixSymbols = DefaultPrefixSymbols.toString();
};

} // namespace platform
