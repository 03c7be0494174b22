#pragma once
// A control array of socket controls: elements by index, loaded one at a
// time (usually at the highest index plus one) and unloaded again, with gaps
// where elements were unloaded. The elements' events arrive as the array's
// signals with the element's index.

#include "platform/winsock/Winsock.h"
#include "platform_export.h"

#include <QList>
#include <QMap>
#include <QObject>

namespace platform {

class PLATFORM_EXPORT WinsockArray : public QObject {
    Q_OBJECT
public:
    explicit WinsockArray(QObject* parent = nullptr);
    ~WinsockArray() override;

    // Loads element `index`; nullptr when it is loaded already or the index
    // is negative.
    Winsock* Load(int index);
    // Loads a new element at the highest index plus one; returns its index.
    int LoadNext();
    // Unloads element `index`: it closes at once and is destroyed when the
    // event loop runs again, so a handler of its own event may unload it.
    // Nothing when it is not loaded.
    void Unload(int index);

    // The element at `index`; nullptr for a gap or beyond the ends.
    Winsock* operator[](int index) const { return m_elements.value(index, nullptr); }
    Winsock* at(int index) const { return (*this)[index]; }
    bool isLoaded(int index) const { return m_elements.contains(index); }
    // The lowest and highest loaded index; -1 for both when none is.
    int LBound() const { return m_elements.isEmpty() ? -1 : m_elements.firstKey(); }
    int UBound() const { return m_elements.isEmpty() ? -1 : m_elements.lastKey(); }
    // The number of loaded elements, and their indexes in order.
    int Count() const { return static_cast<int>(m_elements.size()); }
    QList<int> indexes() const { return m_elements.keys(); }
    // The index of a loaded element; -1 when it is none of this array's.
    int indexOf(const Winsock* element) const;

Q_SIGNALS:
    void ConnectionRequest(int index, qintptr requestID);
    void Connected(int index);
    void DataArrival(int index, qint64 bytesTotal);
    void Closed(int index);
    void Error(int index, int number, const QString& description);
    void SendProgress(int index, qint64 bytesSent, qint64 bytesRemaining);
    void SendComplete(int index);

private:
    QMap<int, Winsock*> m_elements;
};

} // namespace platform
