#include "ReachabilitySource.h"

#include <QNetworkInformation>

namespace vorlie {

NetworkManagerReachability::NetworkManagerReachability(QObject *parent)
    : ReachabilitySource(parent)
{
    if (!QNetworkInformation::loadBackendByName(u"networkmanager"))
        return;
    QNetworkInformation *information = QNetworkInformation::instance();
    m_online = information->reachability() == QNetworkInformation::Reachability::Online;
    connect(information, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
                // Unknown says nothing either way.
                if (reachability == QNetworkInformation::Reachability::Unknown)
                    return;
                const bool online = reachability == QNetworkInformation::Reachability::Online;
                if (online == m_online)
                    return;
                m_online = online;
                emit onlineChanged(online);
            });
}

} // namespace vorlie
