#pragma once

#include "KeychainTokenStore.h"
#include "api/APIClient.h"
#include "repositories/ConnectionsRepository.h"
#include "repositories/RemoteAnnouncementRepository.h"
#include "repositories/RemoteAuthRepository.h"
#include "repositories/RemoteDeviceRepository.h"
#include "repositories/RemoteProfileRepository.h"
#include "repositories/RemoteStatusRepository.h"
#include "repositories/RemoteSyncRepository.h"
#include "session/AppDependencies.h"
#include "session/AuthSession.h"

#include <QNetworkAccessManager>

namespace vorlie {

// The service client as the program uses it: the token store, the auth
// session, the API client and one service-backed repository per area, all
// over one network manager. Owns them; dependencies() hands out references.
class LiveDependencies {
public:
    static QString keychainService() { return QStringLiteral("com.vorlia.app.tokens"); }

    LiveDependencies(const QUrl &apiBaseURL, const QString &keychainService);
    LiveDependencies(const LiveDependencies &) = delete;
    LiveDependencies &operator=(const LiveDependencies &) = delete;

    AppDependencies dependencies();

private:
    QNetworkAccessManager m_network;
    KeychainTokenStore m_keychain;
    AuthSession m_authSession;
    APIClient m_client;
    RemoteAuthRepository m_auth;
    RemoteProfileRepository m_profile;
    RemoteConnectionsRepository m_connections;
    RemoteStatusRepository m_status;
    RemoteSyncRepository m_sync;
    RemoteDeviceRepository m_device;
    RemoteAnnouncementRepository m_announcements;
};

} // namespace vorlie
