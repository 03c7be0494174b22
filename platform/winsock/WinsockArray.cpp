#include "platform/winsock/WinsockArray.h"

namespace platform {

WinsockArray::WinsockArray(QObject* parent) : QObject(parent) {}

WinsockArray::~WinsockArray() {
    for (Winsock* element : std::as_const(m_elements)) {
        element->disconnect(this);
        delete element;
    }
}

Winsock* WinsockArray::Load(int index) {
    if (index < 0 || m_elements.contains(index))
        return nullptr;
    auto* element = new Winsock(this);
    m_elements.insert(index, element);
    // Each event carries the element's index at the time it is raised.
    const auto indexOfSender = [this, element] { return indexOf(element); };
    connect(element, &Winsock::ConnectionRequest, this, [this, indexOfSender](qintptr request) {
        emit ConnectionRequest(indexOfSender(), request);
    });
    connect(element, &Winsock::Connected, this,
            [this, indexOfSender] { emit Connected(indexOfSender()); });
    connect(element, &Winsock::DataArrival, this,
            [this, indexOfSender](qint64 bytes) { emit DataArrival(indexOfSender(), bytes); });
    connect(element, &Winsock::Closed, this,
            [this, indexOfSender] { emit Closed(indexOfSender()); });
    connect(element, &Winsock::Error, this,
            [this, indexOfSender](int number, const QString& description) {
                emit Error(indexOfSender(), number, description);
            });
    connect(element, &Winsock::SendProgress, this,
            [this, indexOfSender](qint64 sent, qint64 remaining) {
                emit SendProgress(indexOfSender(), sent, remaining);
            });
    connect(element, &Winsock::SendComplete, this,
            [this, indexOfSender] { emit SendComplete(indexOfSender()); });
    return element;
}

int WinsockArray::LoadNext() {
    const int index = UBound() + 1;
    Load(index);
    return index;
}

void WinsockArray::Unload(int index) {
    Winsock* element = m_elements.take(index);
    if (element == nullptr)
        return;
    element->disconnect(this);
    element->Close();
    element->deleteLater();
}

int WinsockArray::indexOf(const Winsock* element) const {
    for (auto it = m_elements.cbegin(); it != m_elements.cend(); ++it) {
        if (it.value() == element)
            return it.key();
    }
    return -1;
}

} // namespace platform
