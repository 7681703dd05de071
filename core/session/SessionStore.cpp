#include "SessionStore.h"

#include "AuthSession.h"
#include "observable/AssignIfChanged.h"
#include "repositories/AnnouncementRepository.h"
#include "repositories/AuthRepository.h"
#include "repositories/SyncRepository.h"
#include "widget/WidgetSnapshotStore.h"

#include <QPointer>

namespace vorlie {
SessionStore::SessionStore(AppDependencies dependencies, SyncSnapshotCache cache, WidgetSnapshotStore &widget,
                           QObject *parent)
    : QObject(parent)
    , m_dependencies(dependencies)
    , m_cache(std::move(cache))
    , m_widget(widget)
    , m_syncFlight(this)
    , m_signOutFlight(this)
{
    AuthSession &auth = m_dependencies.authSession;
    connect(&auth, &AuthSession::credentialStoreStateChanged, this, &SessionStore::credentialStoreStateChanged);
    // A keychain that did not answer at start-up left us signed out; its
    // stored session, found later, is taken up without a restart.
    connect(&auth, &AuthSession::sessionRestored, this, [this] {
        if (m_authState == AuthState::signedOut && !m_signOutFlight.isRunning())
            QCoro::connect(resumeSignedIn(), this, [] {});
    });
}

CredentialStoreState SessionStore::credentialStoreState() const
{
    return m_dependencies.authSession.credentialStoreState();
}

QCoro::Task<void> SessionStore::bootstrap()
{
    const QPointer<SessionStore> self(this);
    const AuthSession::State state = co_await m_dependencies.authSession.state();
    if (!self)
        co_return;
    if (state != AuthSession::State::signedIn) {
        setAuthState(AuthState::signedOut);
        co_return;
    }
    co_await resumeSignedIn();
}

QCoro::Task<void> SessionStore::resumeSignedIn()
{
    setAuthState(AuthState::signedIn);
    if (const auto cached = m_cache.load()) {
        applyPeople(*cached);
        setDataAsOf(cached->serverTime);
    }
    co_await refresh();
}

QCoro::Task<bool> SessionStore::refresh()
{
    if (m_authState != AuthState::signedIn || m_signOutFlight.isRunning())
        return []() -> QCoro::Task<bool> { co_return false; }();
    return m_syncFlight.join([this] { return performSync(); });
}

QCoro::Task<bool> SessionStore::performSync()
{
    const QPointer<SessionStore> self(this);
    setSyncsRunning(m_syncsRunning + 1);
    const bool applied = co_await fetchAndApply(m_epoch);
    if (self)
        setSyncsRunning(m_syncsRunning - 1);
    co_return applied;
}

QCoro::Task<bool> SessionStore::fetchAndApply(quint64 epoch)
{
    const QPointer<SessionStore> self(this);
    const Result<SyncSnapshot> result = co_await m_dependencies.syncRepository.fetchSync();
    // Signed out or signed in anew meanwhile: these are somebody else's people now.
    if (!self || epoch != m_epoch || m_authState != AuthState::signedIn)
        co_return false;
    if (!result) {
        recordSyncFailure(result.error());
        co_return false;
    }

    const SyncSnapshot &snapshot = *result;
    applyPeople(snapshot);
    m_cache.save(snapshot);
    m_widget.applySyncToWidget(snapshot);

    const auto announcements = co_await m_dependencies.announcementRepository.fetchAnnouncements();
    if (!self || epoch != m_epoch)
        co_return false;
    if (announcements)
        setAnnouncements(*announcements);
    const QDateTime syncedAt = QDateTime::currentDateTimeUtc();
    setLastSyncError(std::nullopt);
    setServiceUnreachable(false);
    setSessionExpired(false);
    setLastSyncedAt(syncedAt);
    setDataAsOf(syncedAt);
    co_return true;
}

void SessionStore::applyPeople(const SyncSnapshot &snapshot)
{
    setCurrentUser(snapshot.user);
    setMainPerson(snapshot.mainPerson);
    setMainPersonStatus(snapshot.mainPersonStatus);
    setOwnStatus(snapshot.ownStatus);
    setConnections(snapshot.connections);
}

void SessionStore::recordSyncFailure(const ServiceError &error)
{
    if (const APIError *api = error.apiError())
        setLastSyncError(*api);
    else // a refresh's transport failure reads as offline or time-out, as everywhere else
        setLastSyncError(error.passThrough()->shownAs.value_or(APIError::unknown(-1)));
    setServiceUnreachable(error.isUnanswered());
    setSessionExpired(error.is(APIError::Kind::unauthorized)
                      && m_dependencies.authSession.stateAtRest() == AuthSession::State::signedOut);
    if (m_serviceUnreachable)
        m_widget.noteUnreachable(m_dataAsOf);
}

QCoro::Task<bool> SessionStore::completeSignIn(User user)
{
    const bool tokensKept = !m_dependencies.authSession.hasUnsavedTokens();
    // Another account must never be shown the previous one's cached people.
    if (const auto cached = m_cache.load(); cached && cached->user.id != user.id)
        m_cache.remove();
    beginEpoch();
    setCurrentUser(user);
    setAuthState(AuthState::signedIn);
    co_await refresh();
    co_return tokensKept;
}

QCoro::Task<void> SessionStore::signOut()
{
    co_await m_signOutFlight.join([this] { return performSignOut(); });
}

QCoro::Task<bool> SessionStore::performSignOut()
{
    beginEpoch();
    const QPointer<SessionStore> self(this);
    co_await m_dependencies.authRepository.logout();
    if (!self)
        co_return false;
    m_widget.clear();
    setCurrentUser(std::nullopt);
    setMainPerson(std::nullopt);
    setMainPersonStatus(std::nullopt);
    setOwnStatus(std::nullopt);
    setConnections({});
    setAuthState(AuthState::signedOut);
    co_return true;
}

void SessionStore::beginEpoch()
{
    ++m_epoch;
    m_syncFlight.forget();
    // Whatever the last sync of the previous session met is not this one's.
    setServiceUnreachable(false);
    setSessionExpired(false);
    setDataAsOf(std::nullopt);
}

void SessionStore::setSyncsRunning(int count)
{
    const bool wasSyncing = isSyncing();
    m_syncsRunning = count;
    if (wasSyncing != isSyncing())
        emit isSyncingChanged();
}

void SessionStore::setAuthState(AuthState state)
{
    assignIfChanged(this, m_authState, state, &SessionStore::authStateChanged);
}

void SessionStore::setCurrentUser(const std::optional<User> &user)
{
    assignIfChanged(this, m_currentUser, user, &SessionStore::currentUserChanged);
}

void SessionStore::setMainPerson(const std::optional<MainPerson> &person)
{
    assignIfChanged(this, m_mainPerson, person, &SessionStore::mainPersonChanged);
}

void SessionStore::setMainPersonStatus(const std::optional<Status> &status)
{
    assignIfChanged(this, m_mainPersonStatus, status, &SessionStore::mainPersonStatusChanged);
}

void SessionStore::setOwnStatus(const std::optional<Status> &status)
{
    assignIfChanged(this, m_ownStatus, status, &SessionStore::ownStatusChanged);
}

void SessionStore::setConnections(const std::vector<Connection> &connections)
{
    assignIfChanged(this, m_connections, connections, &SessionStore::connectionsChanged);
}

void SessionStore::setAnnouncements(const std::vector<Announcement> &announcements)
{
    assignIfChanged(this, m_announcements, announcements, &SessionStore::announcementsChanged);
}

void SessionStore::setLastSyncedAt(const std::optional<QDateTime> &at)
{
    assignIfChanged(this, m_lastSyncedAt, at, &SessionStore::lastSyncedAtChanged);
}

void SessionStore::setLastSyncError(const std::optional<APIError> &error)
{
    assignIfChanged(this, m_lastSyncError, error, &SessionStore::lastSyncErrorChanged);
}

void SessionStore::setServiceUnreachable(bool unreachable)
{
    assignIfChanged(this, m_serviceUnreachable, unreachable, &SessionStore::serviceUnreachableChanged);
}

void SessionStore::setSessionExpired(bool expired)
{
    assignIfChanged(this, m_sessionExpired, expired, &SessionStore::sessionExpiredChanged);
}

void SessionStore::setDataAsOf(const std::optional<QDateTime> &at)
{
    assignIfChanged(this, m_dataAsOf, at, &SessionStore::dataAsOfChanged);
}

} // namespace vorlie
