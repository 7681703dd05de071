#include "SleepWatcher.h"

namespace vorlie {

SleepWatcher::SleepWatcher(QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    if (m_bus.isConnected())
        m_bus.connect(QString::fromLatin1(serviceName), QString::fromLatin1(objectPath), QString::fromLatin1(interfaceName),
                      QString::fromLatin1(signalName), this, SLOT(onPrepareForSleep(bool)));
}

void SleepWatcher::onPrepareForSleep(bool goingToSleep)
{
    if (!goingToSleep)
        emit woke();
}

} // namespace vorlie
