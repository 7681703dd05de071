#pragma once

#include "DevDistributor.h"

#include <QThread>

namespace vorlie::devpush {

// Runs a DevDistributor on a thread and a bus connection of its own, so a
// connector in the same process reaches it through the bus daemon exactly as
// it would reach another process, and neither event loop waits for the other.
class DevDistributorHost {
public:
    explicit DevDistributorHost(const QString &busName = QString::fromLatin1(DevDistributor::defaultBusName));
    ~DevDistributorHost();
    DevDistributorHost(const DevDistributorHost &) = delete;
    DevDistributorHost &operator=(const DevDistributorHost &) = delete;

    quint16 port() const { return m_port; }
    QString busName() const { return m_busName; }

private:
    void stop();

    QString m_busName;
    QString m_connectionName;
    QThread m_thread;
    DevDistributor *m_distributor = nullptr; // lives on m_thread
    quint16 m_port = 0;
};

} // namespace vorlie::devpush
