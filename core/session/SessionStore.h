#pragma once

#include "AppDependencies.h"
#include "SingleFlight.h"
#include "TokenStore.h"
#include "api/APIError.h"
#include "domain/Announcement.h"
#include "domain/Connection.h"
#include "domain/Status.h"
#include "domain/User.h"
#include "sync/SyncSnapshotCache.h"

#include <QDateTime>
#include <QObject>
#include <QCoro/QCoroTask>
#include <optional>
#include <vector>

namespace vorlie {

class WidgetSnapshotStore;
class ServiceError;

// The application-wide state every screen observes: who is signed in, the
// main person and both statuses, the connections and announcements, and how
// the last sync went. Runs the sync (one at a time, every trigger joins it)
// and spreads its result into this state, the sync cache and the widget.
// Main thread only. Every setter notifies only on a real change.
class SessionStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(AuthState authState READ authState NOTIFY authStateChanged)
    Q_PROPERTY(std::optional<vorlie::User> currentUser READ currentUser NOTIFY currentUserChanged)
    Q_PROPERTY(std::optional<vorlie::MainPerson> mainPerson READ mainPerson NOTIFY mainPersonChanged)
    Q_PROPERTY(std::optional<vorlie::Status> mainPersonStatus READ mainPersonStatus NOTIFY mainPersonStatusChanged)
    Q_PROPERTY(std::optional<vorlie::Status> ownStatus READ ownStatus WRITE setOwnStatus NOTIFY ownStatusChanged)
    Q_PROPERTY(std::vector<vorlie::Connection> connections READ connections NOTIFY connectionsChanged)
    Q_PROPERTY(std::vector<vorlie::Announcement> announcements READ announcements NOTIFY announcementsChanged)
    Q_PROPERTY(std::optional<QDateTime> lastSyncedAt READ lastSyncedAt NOTIFY lastSyncedAtChanged)
    Q_PROPERTY(bool isSyncing READ isSyncing NOTIFY isSyncingChanged)
    Q_PROPERTY(std::optional<vorlie::APIError> lastSyncError READ lastSyncError NOTIFY lastSyncErrorChanged)
    // The last sync never reached the service (no network, refused, silent):
    // what is shown is as old as `dataAsOf`. False again after a good sync.
    Q_PROPERTY(bool serviceUnreachable READ serviceUnreachable NOTIFY serviceUnreachableChanged)
    // Still signed in, but the tokens are gone (the service refused to renew
    // them): every sync fails as unauthorised until the user signs in again.
    Q_PROPERTY(bool sessionExpired READ sessionExpired NOTIFY sessionExpiredChanged)
    // When what is shown was last current: the end of the last good sync, or
    // the service time of the cached people shown at start-up.
    Q_PROPERTY(std::optional<QDateTime> dataAsOf READ dataAsOf NOTIFY dataAsOfChanged)
    // Whether the desktop's keyring keeps the session's tokens: anything but
    // `available` means the user is signed out again at the next start unless
    // the keyring comes back first, which is noticed without a restart.
    Q_PROPERTY(vorlie::CredentialStoreState credentialStoreState READ credentialStoreState NOTIFY credentialStoreStateChanged)

public:
    enum class AuthState { unknown, signedOut, signedIn };
    Q_ENUM(AuthState)

    SessionStore(AppDependencies dependencies, SyncSnapshotCache cache, WidgetSnapshotStore &widget,
                 QObject *parent = nullptr);

    AuthState authState() const { return m_authState; }
    const std::optional<User> &currentUser() const { return m_currentUser; }
    const std::optional<MainPerson> &mainPerson() const { return m_mainPerson; }
    const std::optional<Status> &mainPersonStatus() const { return m_mainPersonStatus; }
    const std::optional<Status> &ownStatus() const { return m_ownStatus; }
    const std::vector<Connection> &connections() const { return m_connections; }
    const std::vector<Announcement> &announcements() const { return m_announcements; }
    const std::optional<QDateTime> &lastSyncedAt() const { return m_lastSyncedAt; }
    bool isSyncing() const { return m_syncsRunning > 0; }
    const std::optional<APIError> &lastSyncError() const { return m_lastSyncError; }
    bool serviceUnreachable() const { return m_serviceUnreachable; }
    bool sessionExpired() const { return m_sessionExpired; }
    const std::optional<QDateTime> &dataAsOf() const { return m_dataAsOf; }
    CredentialStoreState credentialStoreState() const;

    // Set by the status picker: first its optimistic status, then the service's.
    void setOwnStatus(const std::optional<Status> &status);

    // Start-up: the stored session, the cached people at once, then a sync.
    QCoro::Task<void> bootstrap();
    // Runs a sync or joins the running one; true when it succeeded. Signed
    // out, it does nothing and gives false.
    QCoro::Task<bool> refresh();
    // After a successful login or registration; the tokens are stored already.
    // The user is signed in either way; false when the keyring did not keep
    // the tokens (see credentialStoreState), which the caller must say.
    QCoro::Task<bool> completeSignIn(User user);
    // Tells the service (failures ignored), forgets the tokens, the widget
    // snapshot and the people. Cannot fail. A second call while one runs
    // joins it, and no sync starts meanwhile.
    QCoro::Task<void> signOut();

signals:
    void authStateChanged();
    void currentUserChanged();
    void mainPersonChanged();
    void mainPersonStatusChanged();
    void ownStatusChanged();
    void connectionsChanged();
    void announcementsChanged();
    void lastSyncedAtChanged();
    void isSyncingChanged();
    void lastSyncErrorChanged();
    void serviceUnreachableChanged();
    void sessionExpiredChanged();
    void dataAsOfChanged();
    void credentialStoreStateChanged();

private:
    QCoro::Task<bool> performSignOut();
    // Signed in with the cached people shown, then a sync.
    QCoro::Task<void> resumeSignedIn();
    // Counts the running syncs around fetchAndApply().
    QCoro::Task<bool> performSync();
    // One sync exchange; applies nothing when the session changed meanwhile.
    QCoro::Task<bool> fetchAndApply(quint64 epoch);
    void applyPeople(const SyncSnapshot &snapshot);
    void recordSyncFailure(const ServiceError &error);
    void setSyncsRunning(int count);
    // A new account or no account: a sync started before must not be applied
    // and must not be joined.
    void beginEpoch();

    void setAuthState(AuthState state);
    void setCurrentUser(const std::optional<User> &user);
    void setMainPerson(const std::optional<MainPerson> &person);
    void setMainPersonStatus(const std::optional<Status> &status);
    void setConnections(const std::vector<Connection> &connections);
    void setAnnouncements(const std::vector<Announcement> &announcements);
    void setLastSyncedAt(const std::optional<QDateTime> &at);
    void setLastSyncError(const std::optional<APIError> &error);
    void setServiceUnreachable(bool unreachable);
    void setSessionExpired(bool expired);
    void setDataAsOf(const std::optional<QDateTime> &at);

    const AppDependencies m_dependencies;
    SyncSnapshotCache m_cache;
    WidgetSnapshotStore &m_widget;
    SingleFlight<bool> m_syncFlight;
    SingleFlight<bool> m_signOutFlight;
    quint64 m_epoch = 0;
    int m_syncsRunning = 0; // an abandoned sync of an older epoch may still be running

    AuthState m_authState = AuthState::unknown;
    std::optional<User> m_currentUser;
    std::optional<MainPerson> m_mainPerson;
    std::optional<Status> m_mainPersonStatus;
    std::optional<Status> m_ownStatus;
    std::vector<Connection> m_connections;
    std::vector<Announcement> m_announcements;
    std::optional<QDateTime> m_lastSyncedAt;
    std::optional<APIError> m_lastSyncError;
    bool m_serviceUnreachable = false;
    bool m_sessionExpired = false;
    std::optional<QDateTime> m_dataAsOf;
};

} // namespace vorlie
