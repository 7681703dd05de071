#pragma once

#include <QObject>

namespace vorlie {

// Whether the machine can reach the internet, as the desktop tells it.
// `onlineChanged` comes only on a real change, so `onlineChanged(true)` is
// the network coming back.
class ReachabilitySource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void onlineChanged(bool online);
};

// The desktop's network manager through QNetworkInformation. Without that
// backend (another network daemon, or none) it stays silent.
class NetworkManagerReachability : public ReachabilitySource {
    Q_OBJECT
public:
    explicit NetworkManagerReachability(QObject *parent = nullptr);

private:
    bool m_online = false;
};

} // namespace vorlie
