// The session store against the local fake service: start-up, the shared
// sync, failures, sign-in and sign-out, and what a sync that outlived its
// session may (not) do.
#include "support/AppStackFixture.h"

#include "prefs/PreferenceKeys.h"
#include "sync/SyncCacheWriter.h"

#include <QSignalSpy>

using namespace vorlie;
using namespace vorlie::testing;
using AuthState = SessionStore::AuthState;

class SessionStoreTest : public AppStackFixture {
protected:
    // Nothing of the account is left in the store, the widget or the keychain.
    void expectNothingLeft()
    {
        EXPECT_EQ(store->authState(), AuthState::signedOut);
        EXPECT_FALSE(store->currentUser());
        EXPECT_FALSE(store->mainPerson());
        EXPECT_FALSE(store->mainPersonStatus());
        EXPECT_FALSE(store->ownStatus());
        EXPECT_TRUE(store->connections().empty());
        EXPECT_FALSE(store->isSyncing());
        EXPECT_FALSE(widget->load());
        EXPECT_FALSE(storedToken(QStringLiteral("refreshToken")));
        EXPECT_FALSE(storedToken(QStringLiteral("accessToken")));
    }
};

TEST_F(SessionStoreTest, ASyncFillsStateCacheAndWidgetWhichTheNextLaunchShowsBeforeItsFirstSyncAnswers)
{
    startSignedIn();
    EXPECT_EQ(store->currentUser()->id, fake::ServiceState::seededUserId());
    ASSERT_TRUE(store->mainPerson());
    EXPECT_EQ(store->mainPerson()->person.displayName, QStringLiteral("Quil"));
    ASSERT_TRUE(store->mainPersonStatus());
    EXPECT_EQ(store->mainPersonStatus()->statusKey, QStringLiteral("miss_you"));
    EXPECT_EQ(store->ownStatus()->statusKey, QStringLiteral("working"));
    EXPECT_EQ(store->connections().size(), 3u);
    EXPECT_FALSE(store->lastSyncError());
    EXPECT_EQ(widget->load()->personID, store->mainPerson()->person.id);
    const SyncSnapshot synced = *cachedSnapshot();
    EXPECT_EQ(synced.user, *store->currentUser());

    rebuildStore();
    service().script("GET", QStringLiteral("sync"), delayedServiceAnswer(400ms));
    auto running = store->bootstrap();
    ASSERT_TRUE(spinUntil([&] { return store->authState() == AuthState::signedIn; }));
    EXPECT_EQ(store->currentUser(), synced.user);
    EXPECT_EQ(store->mainPerson(), synced.mainPerson);
    EXPECT_EQ(store->connections(), synced.connections);
    EXPECT_FALSE(store->lastSyncedAt());
    EXPECT_TRUE(store->isSyncing());

    resultOf(running);
    EXPECT_TRUE(store->lastSyncedAt());
    EXPECT_FALSE(store->isSyncing());
    EXPECT_FALSE(store->announcements().empty());
}

TEST_F(SessionStoreTest, HundredTriggersDuringASyncShareOneRequestAndOneResult)
{
    startSignedIn();
    service().clearRecords();
    service().script("GET", QStringLiteral("sync"), delayedServiceAnswer(300ms));

    std::vector<QCoro::Task<bool>> callers;
    callers.reserve(100);
    for (int i = 0; i < 100; ++i)
        callers.push_back(store->refresh());
    for (auto &caller : callers)
        EXPECT_TRUE(resultOf(caller));
    EXPECT_EQ(service().requestCount(QStringLiteral("sync")), 1);

    // Once it has ended, the next trigger starts a new sync.
    EXPECT_TRUE(resultOf(store->refresh()));
    EXPECT_EQ(service().requestCount(QStringLiteral("sync")), 2);
}

// What a failed sync keeps and shows is the fault matrix's to check.
TEST_F(SessionStoreTest, AnUnreachableServiceIsToldOnceAndUntilTheNextSuccess)
{
    startSignedIn();
    const int reloads = widgetReloads;
    const QDateTime lastGood = *store->dataAsOf();
    service().scriptAlways("GET", QStringLiteral("sync"), misbehaving(fake::ScriptedReply::Behaviour::dropConnection));
    EXPECT_FALSE(resultOf(store->refresh()));
    EXPECT_TRUE(store->serviceUnreachable());
    EXPECT_EQ(store->dataAsOf(), lastGood);
    EXPECT_EQ(widget->load()->offlineUpdatedAt.value_or(QDateTime()).toSecsSinceEpoch(), lastGood.toSecsSinceEpoch());
    EXPECT_EQ(widgetReloads, reloads + 1) << "the widget says offline, once";
    EXPECT_FALSE(resultOf(store->refresh()));
    EXPECT_EQ(widgetReloads, reloads + 1);

    service().clearScripts();
    EXPECT_TRUE(resultOf(store->refresh()));
    EXPECT_FALSE(store->serviceUnreachable());
    EXPECT_EQ(widgetReloads, reloads + 2) << "and no longer";
}

TEST_F(SessionStoreTest, FailedAnnouncementsKeepThePreviousOnesAndTheSyncSucceeds)
{
    startSignedIn();
    const auto announcements = store->announcements();
    ASSERT_FALSE(announcements.empty());
    const auto firstSync = store->lastSyncedAt();

    service().script("GET", QStringLiteral("announcements"), reply(500));
    // The next sync must end at a later instant than the first.
    ASSERT_TRUE(spinUntil([&] { return QDateTime::currentDateTimeUtc() > *firstSync; }));
    EXPECT_TRUE(resultOf(store->refresh()));
    EXPECT_EQ(store->announcements(), announcements);
    EXPECT_GT(*store->lastSyncedAt(), *firstSync);
    EXPECT_FALSE(store->lastSyncError());
}

TEST_F(SessionStoreTest, ObserversHearOnlyRealChanges)
{
    startSignedIn();
    QSignalSpy own(store.get(), &SessionStore::ownStatusChanged);
    QSignalSpy people(store.get(), &SessionStore::mainPersonChanged);
    QSignalSpy connections(store.get(), &SessionStore::connectionsChanged);

    Status mine = *store->ownStatus();
    mine.id = QStringLiteral("pending-0000000000ABCDEFGHJKMNPQRS");
    store->setOwnStatus(mine);
    store->setOwnStatus(mine);
    EXPECT_EQ(own.count(), 1);

    EXPECT_TRUE(resultOf(store->refresh()));
    EXPECT_EQ(own.count(), 2); // the service's copy replaces the optimistic one
    EXPECT_EQ(people.count(), 0);
    EXPECT_EQ(connections.count(), 0);
}

TEST_F(SessionStoreTest, SignOutEmptiesEverythingEvenWhenTheServiceIsUnreachable)
{
    startSignedIn();
    ASSERT_TRUE(widget->load());
    const auto announcements = store->announcements();

    service().scriptAlways("POST", QStringLiteral("auth/logout"), misbehaving(fake::ScriptedReply::Behaviour::dropConnection));
    QSignalSpy state(store.get(), &SessionStore::authStateChanged);
    resultOf(store->signOut());

    expectNothingLeft();
    EXPECT_EQ(state.count(), 1);
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedOut);
    EXPECT_EQ(store->announcements(), announcements);
    EXPECT_TRUE(cachedSnapshot()); // kept; a sign-in of another account removes it
}

TEST_F(SessionStoreTest, SigningOutTwiceSendsOneLogoutAndNoSyncStartsMeanwhile)
{
    startSignedIn();
    service().clearRecords();
    service().script("POST", QStringLiteral("auth/logout"), delayedServiceAnswer(300ms));
    QSignalSpy state(store.get(), &SessionStore::authStateChanged);

    auto first = store->signOut();
    auto second = store->signOut();
    EXPECT_FALSE(resultOf(store->refresh())) << "a sync started while signing out";
    resultOf(second);
    EXPECT_EQ(store->authState(), AuthState::signedOut) << "the second press returned before the sign-out ended";
    resultOf(first);

    EXPECT_EQ(service().requestCount(QStringLiteral("auth/logout")), 1);
    EXPECT_EQ(service().requestCount(QStringLiteral("sync")), 0);
    EXPECT_EQ(state.count(), 1);
    expectNothingLeft();

    // Pressed again later: nothing left to tell the service.
    resultOf(store->signOut());
    EXPECT_EQ(service().requestCount(QStringLiteral("auth/logout")), 1);
}

TEST_F(SessionStoreTest, SyncRunningAtSignOutLeavesNothingBehind)
{
    startSignedIn();
    resultOf(store->signOut());
    // Signed in again, then out again while the sync is on its way.
    signIn();
    rebuildStore();
    SyncSnapshotCache(defaults).remove();
    resultOf(store->bootstrap()); // signedIn, first sync done
    service().script("GET", QStringLiteral("sync"), delayedServiceAnswer(400ms));
    auto syncing = store->refresh();
    ASSERT_TRUE(spinUntil([&] { return store->isSyncing(); }));
    // The first sync's snapshot may still be on its way to the file; this
    // test's own writer must not remove it before it lands.
    SyncCacheWriter::waitUntilIdle();
    SyncSnapshotCache(defaults).remove();
    resultOf(store->signOut());

    EXPECT_FALSE(resultOf(syncing));
    expectNothingLeft();
    EXPECT_FALSE(cachedSnapshot());
}

TEST_F(SessionStoreTest, SignInKeepsTheCacheOnlyForTheSameAccount)
{
    startSignedIn();
    User user = *store->currentUser();
    service().scriptAlways("GET", QStringLiteral("sync"), reply(500));
    resultOf(store->signOut());
    signIn();
    resultOf(store->completeSignIn(user));
    EXPECT_TRUE(cachedSnapshot());

    resultOf(store->signOut());
    const QString marenId = QStringLiteral("01DEMOMAREN0000000000000000");
    const fake::TokenPair maren = service().issueTokens(marenId);
    resultOf(auth->storeTokens(maren.accessToken, maren.refreshToken));
    user.id = marenId;
    resultOf(store->completeSignIn(user));
    EXPECT_EQ(store->authState(), AuthState::signedIn);
    EXPECT_FALSE(cachedSnapshot());
    EXPECT_FALSE(store->mainPerson());
}

TEST_F(SessionStoreTest, SignInDoesNotJoinASyncOfTheSessionBefore)
{
    startSignedIn();
    const User user = *store->currentUser();
    service().clearRecords();
    service().script("GET", QStringLiteral("sync"), delayedServiceAnswer(500ms));
    auto old = store->refresh();
    ASSERT_TRUE(spinUntil([&] { return store->isSyncing(); }));
    resultOf(store->signOut());

    signIn();
    resultOf(store->completeSignIn(user));
    EXPECT_EQ(service().requestCount(QStringLiteral("sync")), 2);
    EXPECT_TRUE(store->mainPerson());
    EXPECT_FALSE(resultOf(old));
    EXPECT_TRUE(store->mainPerson());
    EXPECT_FALSE(store->isSyncing());
}
