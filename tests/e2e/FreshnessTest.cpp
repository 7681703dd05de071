// How fresh the app knows itself to be, against the fake service: it
// refreshes when the machine wakes (a stand-in logind on the test bus) and
// when the network comes back, says "offline" with the age of what it shows
// while the service cannot be reached, and offers to sign in again once the
// tokens are gone.
#include "AppServices.h"
#include "AppUnderTest.h"
#include "HomePresenter.h"
#include "SignInPresenter.h"
#include "support/ScriptedReplies.h"

#include <QDBusMessage>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

class StandInReachability : public ReachabilitySource {
public:
    void report(bool online) { emit onlineChanged(online); }
};

// Owns logind's name on the test bus and says what logind says around a suspend.
class StandInLogind {
public:
    StandInLogind() { m_peer.bus().registerService(QString::fromLatin1(SleepWatcher::serviceName)); }

    void prepareForSleep(bool goingToSleep)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(SleepWatcher::objectPath),
                                                         QString::fromLatin1(SleepWatcher::interfaceName),
                                                         QString::fromLatin1(SleepWatcher::signalName));
        signal << goingToSleep;
        m_peer.bus().send(signal);
    }

private:
    BusPeer m_peer{unique("logind")};
};

VorlieMacApp::Options withStandIns(VorlieMacApp::Options options, ReachabilitySource &reachability)
{
    options.sleepBus = QDBusConnection::sessionBus();
    options.reachability = &reachability;
    return options;
}

} // namespace

class Freshness : public ::testing::Test {
protected:
    Freshness() { qputenv(UnifiedPushConnector::distributorVariable, unique("org.unifiedpush.Distributor.absent_").toUtf8()); }

    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh";
        signInSeeded(app, host);
        resultOf(app.start());
        ASSERT_TRUE(waitForWidgetPicture(app));
        host.service().clearRecords();
    }

    ~Freshness() override { shutDown(app); }

    int syncs() { return host.service().requestCount(QStringLiteral("sync")); }

    fake::FakeServiceHost host;
    QTemporaryDir prefs;
    StandInLogind logind;
    StandInReachability network;
    VorlieMacApp app{withStandIns(appOptions(host, prefs), network)};
    AppServices::Parts parts() { return app.screenServices(); }
    // Its clock stands five minutes after the last good sync.
    HomePresenter home{{parts().sessionStore, parts().router, parts().textLookup, parts().languageSettings,
                        parts().avatarBaseURL, [this] {
                            return app.sessionStore().dataAsOf().value_or(QDateTime()).addSecs(qint64{5} * 60);
                        }}};
    SignInPresenter::Inputs signIn{parts().authRepository, parts().sessionStore, parts().router,
                                   parts().requestPushAuthorization};
};

TEST_F(Freshness, WakingAndTheNetworkComingBackRefreshOnceEachJoiningARunningSync)
{
    const struct {
        const char *name;
        std::function<void(StandInLogind &, StandInReachability &)> happen;
        int syncs;
    } rows[] = {
        {"suspended, then woke", [](StandInLogind &l, StandInReachability &) { l.prepareForSleep(true); l.prepareForSleep(false); }, 1},
        {"the network went and came back", [](StandInLogind &, StandInReachability &n) { n.report(false); n.report(true); }, 1},
        {"woke while the network came back", [](StandInLogind &l, StandInReachability &n) { n.report(true); l.prepareForSleep(false); }, 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        host.service().clearRecords();
        // Slow enough for a second trigger to find the first sync still running.
        host.service().script("GET", QStringLiteral("sync"), delayedServiceAnswer(std::chrono::milliseconds(600)));
        row.happen(logind, network);
        ASSERT_TRUE(QTest::qWaitFor([this, &row] { return syncs() >= row.syncs && !app.sessionStore().isSyncing(); }, waitMs));
        EXPECT_EQ(syncs(), row.syncs);
        EXPECT_FALSE(app.sessionStore().lastSyncError());
    }
}

TEST_F(Freshness, AnUnreachableServiceSaysOfflineWithTheAgeOfWhatIsShownUntilTheNextGoodSync)
{
    const struct {
        const char *name;
        fake::ScriptedReply answer;
        const char *line; // with the presenter's clock five minutes on
    } rows[] = {
        {"the connection dropped", misbehaving(fake::ScriptedReply::Behaviour::dropConnection), "Offline · updated 5 min. ago"},
        {"the service failed", reply(500, R"({"error":{"code":"INTERNAL","message":"oops"}})"), ""},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const auto widgetBefore = storedBytes(prefs, prefkeys::widgetSnapshot());
        const QDateTime lastGood = *app.sessionStore().dataAsOf();
        host.service().scriptAlways("GET", QStringLiteral("sync"), row.answer);
        EXPECT_FALSE(resultOf(app.sessionStore().refresh()));

        EXPECT_EQ(home.offlineText(), QString::fromUtf8(row.line));
        EXPECT_EQ(app.sessionStore().dataAsOf(), lastGood) << "what is shown is as old as before";
        const std::optional<WidgetSnapshot> widget = app.widgetSnapshots().load();
        ASSERT_TRUE(widget);
        if (*row.line) {
            ASSERT_TRUE(widget->offlineUpdatedAt);
            EXPECT_EQ(widget->offlineUpdatedAt->toSecsSinceEpoch(), lastGood.toSecsSinceEpoch());
        } else {
            EXPECT_EQ(storedBytes(prefs, prefkeys::widgetSnapshot()), widgetBefore);
        }

        host.service().clearScripts();
        EXPECT_TRUE(resultOf(app.sessionStore().refresh()));
        EXPECT_EQ(home.offlineText(), QString());
        EXPECT_FALSE(app.widgetSnapshots().load()->offlineUpdatedAt);
    }
}

TEST_F(Freshness, ADeadSessionOffersToSignInAgainWithTheAddressFilledIn)
{
    EXPECT_FALSE(home.offersSignInAgain());
    host.service().expireAccessTokens();
    host.service().script("POST", QStringLiteral("auth/refresh"), reply(401, R"({"error":{"code":"UNAUTHORIZED","message":"gone"}})"));
    for (int tick = 0; tick < 2; ++tick)
        EXPECT_FALSE(resultOf(app.sessionStore().refresh()));
    EXPECT_EQ(app.sessionStore().authState(), SessionStore::AuthState::signedIn);
    EXPECT_TRUE(home.offersSignInAgain());
    EXPECT_EQ(home.syncErrorMessage(), APIError::unauthorized().userMessage());
    EXPECT_EQ(home.offlineText(), QString());

    home.signInAgain();
    ASSERT_TRUE(QTest::qWaitFor([this] { return app.sessionStore().authState() == SessionStore::AuthState::signedOut; }, waitMs));
    EXPECT_FALSE(app.sessionStore().currentUser());
    EXPECT_FALSE(app.widgetSnapshots().load());
    EXPECT_FALSE(home.offersSignInAgain());

    // The sign-in form the window now shows starts with the account's address.
    SignInPresenter form(signIn);
    EXPECT_EQ(form.email(), fake::ServiceState::seededAccount().email);
    form.continueToPassword();
    form.setPassword(fake::ServiceState::seededAccount().password);
    form.signIn();
    ASSERT_TRUE(QTest::qWaitFor([this] { return app.sessionStore().authState() == SessionStore::AuthState::signedIn; }, waitMs));
    ASSERT_TRUE(QTest::qWaitFor([this] { return app.sessionStore().lastSyncedAt() && !app.sessionStore().isSyncing(); }, waitMs));
    EXPECT_FALSE(app.sessionStore().lastSyncError());
    EXPECT_FALSE(home.offersSignInAgain());
    EXPECT_EQ(SignInPresenter(signIn).email(), QString()) << "the address is filled in once";
}
