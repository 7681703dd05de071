#pragma once

#include "PipelineFixture.h"
#include "SpinUntil.h"
#include "repositories/ConnectionsRepository.h"
#include "repositories/RemoteAnnouncementRepository.h"
#include "repositories/RemoteAuthRepository.h"
#include "repositories/RemoteDeviceRepository.h"
#include "repositories/RemoteProfileRepository.h"
#include "repositories/RemoteStatusRepository.h"
#include "repositories/RemoteSyncRepository.h"
#include "session/SessionStore.h"
#include "widget/WidgetSnapshotStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>

namespace vorlie::testing {

// The application below its screens, as the composition root builds it,
// over the local fake service and a private preference directory.
class AppStackFixture : public PipelineFixture {
protected:
    AppStackFixture() { rebuildStore(); }
    // A sync still on its way would never resume once the store is gone.
    ~AppStackFixture() override
    {
        spinUntil([this] { return !store->isSyncing(); });
    }

    // A fresh store over the same keychain and preferences, as after a restart.
    void rebuildStore()
    {
        store.reset();
        widget.reset();
        restart();
        repositories = std::make_unique<Repositories>(*client, *auth);
        widget = std::make_unique<WidgetSnapshotStore>(defaults, pictures, host.rootUrl(), [this] { ++widgetReloads; });
        store = std::make_unique<SessionStore>(dependencies(), SyncSnapshotCache(defaults), *widget);
    }

    AppDependencies dependencies()
    {
        Repositories &r = *repositories;
        return AppDependencies{*auth, r.auth, r.profile, r.connections, r.status, r.sync, r.device, r.announcements};
    }

    // Signed in as the seeded account and bootstrapped: the first sync is
    // done and the widget has its avatar picture.
    void startSignedIn()
    {
        signIn();
        resultOf(store->bootstrap());
        ASSERT_EQ(store->authState(), SessionStore::AuthState::signedIn);
        ASSERT_TRUE(spinUntil([this] {
            const auto snapshot = widget->load();
            return !snapshot || snapshot->avatarImageData;
        }));
    }

    // Runs the event loop until `done` holds or the deadline passes.
    template<typename Predicate>
    static bool spinUntil(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        return testing::spinUntil(done, limit);
    }

    std::optional<SyncSnapshot> cachedSnapshot() const { return SyncSnapshotCache(defaults).load(); }

    struct Repositories {
        Repositories(APIClient &client, AuthSession &session)
            : auth(client, session), profile(client), status(client), sync(client), device(client), announcements(client)
        {
        }
        RemoteAuthRepository auth;
        RemoteProfileRepository profile;
        RemoteConnectionsRepository connections;
        RemoteStatusRepository status;
        RemoteSyncRepository sync;
        RemoteDeviceRepository device;
        RemoteAnnouncementRepository announcements;
    };

    QTemporaryDir prefsDir;
    SharedDefaults defaults{PreferencePaths::under(prefsDir.path())};
    QNetworkAccessManager pictures;
    int widgetReloads = 0;
    std::unique_ptr<Repositories> repositories;
    std::unique_ptr<WidgetSnapshotStore> widget;
    std::unique_ptr<SessionStore> store;
};

} // namespace vorlie::testing
