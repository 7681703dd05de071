#pragma once

#include "ScreenServices.h"
#include "repositories/sample/MockRepositories.h"
#include "session/AuthSession.h"
#include "session/SessionStore.h"
#include "widget/WidgetSnapshotStore.h"

#include <QHash>
#include <QNetworkAccessManager>

namespace vorlie::testing {

// A desktop keyring that answers, refuses or is locked, and says when it
// changes its mind, as the Secret Service adapter does.
class SwitchableKeyring final : public TokenStore {
public:
    CredentialStoreState state = CredentialStoreState::available;
    QHash<QString, QString> items;
    std::function<void()> onChange;

    QCoro::Task<TokenRead> readEntry(QString account) override
    {
        TokenRead read{std::nullopt, state};
        if (state == CredentialStoreState::available && items.contains(account))
            read.token = items.value(account);
        co_return read;
    }
    QCoro::Task<CredentialStoreState> write(QString value, QString account) override
    {
        if (state == CredentialStoreState::available)
            items.insert(account, value);
        co_return state;
    }
    QCoro::Task<CredentialStoreState> deleteItem(QString account) override
    {
        if (state == CredentialStoreState::available)
            items.remove(account);
        co_return state;
    }
    void watchAvailability(std::function<void()> changed) override { onChange = std::move(changed); }
};

// The session over sample repositories and a keyring the test controls.
struct KeyringWorld {
    QTemporaryDir prefs;
    SharedDefaults defaults{PreferencePaths::under(prefs.path())};
    SwitchableKeyring keyring;
    QNetworkAccessManager network;
    AuthSession auth{keyring, QUrl(QStringLiteral("http://127.0.0.1:9/api/v1")), network};
    MockAuthRepository authRepository;
    MockProfileRepository profile;
    MockConnectionsRepository connections;
    MockStatusRepository statuses;
    MockSyncRepository sync;
    MockDeviceRepository devices;
    MockAnnouncementRepository announcements;
    WidgetSnapshotStore widget{defaults, network, QUrl(QStringLiteral("http://127.0.0.1:9")), [] {}};
    SessionStore store{AppDependencies{auth, authRepository, profile, connections, statuses, sync, devices, announcements},
                       SyncSnapshotCache(defaults), widget};
    ScreenServices screen{prefs.path(), store, QUrl(QStringLiteral("http://127.0.0.1:9"))};
};

} // namespace vorlie::testing
