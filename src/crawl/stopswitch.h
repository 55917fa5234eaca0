#pragma once

#include <QObject>

namespace Crawl {

// Asks a running crawl to end after its current request. Turned on once, it stays on.
class StopSwitch : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    bool isOn() const { return m_on; }
    void turnOn()
    {
        if (m_on)
            return;
        m_on = true;
        emit turnedOn();
    }

signals:
    void turnedOn();

private:
    bool m_on = false;
};

} // namespace Crawl
