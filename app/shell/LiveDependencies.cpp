#include "LiveDependencies.h"

namespace vorlie {

LiveDependencies::LiveDependencies(const QUrl &apiBaseURL, const QString &keychainService)
    : m_keychain(keychainService)
    , m_authSession(m_keychain, apiBaseURL, m_network)
    , m_client(apiBaseURL, m_authSession, m_network)
    , m_auth(m_client, m_authSession)
    , m_profile(m_client)
    , m_status(m_client)
    , m_sync(m_client)
    , m_device(m_client)
    , m_announcements(m_client)
{
}

AppDependencies LiveDependencies::dependencies()
{
    return AppDependencies{m_authSession, m_auth, m_profile, m_connections, m_status, m_sync, m_device, m_announcements};
}

} // namespace vorlie
