// The desktop's keyring missing, locked, hung or restarted while the session
// holds tokens. Each case runs in a child process on a session bus of its own
// with a real gnome-keyring that the test starts and stops.
#include "FakeServiceHost.h"
#include "KeychainTokenStore.h"
#include "PrivateKeyring.h"
#include "support/AppStackFixture.h"
#include "support/ResultOf.h"
#include "api/APIClient.h"
#include "session/AuthSession.h"

#include <QDBusVirtualObject>
#include <QDirIterator>
#include <QSignalSpy>
#include <QNetworkAccessManager>
#include <QStandardPaths>
#include <QUuid>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;
using namespace std::chrono_literals;

namespace {

constexpr auto guard = 1000ms;

// Owns the Secret Service's name and never answers a call: a hung daemon.
class SilentSecretService : public QDBusVirtualObject {
public:
    SilentSecretService() : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("silent")))
    {
        m_connection.registerVirtualObject(QStringLiteral("/"), this, QDBusConnection::SubPath);
        m_connection.registerService(QStringLiteral("org.freedesktop.secrets"));
    }
    // Gone as a dead daemon goes: the bus fails the calls it left unanswered.
    ~SilentSecretService() override
    {
        m_connection.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
        QDBusConnection::disconnectFromBus(QStringLiteral("silent"));
    }

    int calls() const { return m_calls; }

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &) override
    {
        if (message.type() == QDBusMessage::MethodCallMessage) {
            ++m_calls;
            message.setDelayedReply(true); // and never sent
        }
        return true;
    }

private:
    QDBusConnection m_connection;
    int m_calls = 0;
};

// Whether any file under the process's XDG directories holds `secret`.
bool writtenToAnyFile(const QString &secret)
{
    for (const auto location : {QStandardPaths::GenericConfigLocation, QStandardPaths::GenericDataLocation,
                                QStandardPaths::GenericCacheLocation}) {
        QDirIterator it(QStandardPaths::writableLocation(location), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (file.open(QIODevice::ReadOnly) && file.readAll().contains(secret.toUtf8()))
                return true;
        }
    }
    return false;
}

// One child's world: a private bus, a keyring that comes and goes, the fake
// service and the production session over them.
class KeychainOutage : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!isChild())
            return;
        bus = std::make_unique<PrivateSessionBus>();
        ASSERT_TRUE(bus->isUp());
        keychain = std::make_unique<KeychainTokenStore>(service, guard);
    }

    void startSession()
    {
        auth.reset();
        auth = std::make_unique<AuthSession>(*keychain, host.baseUrl(), network);
        client = std::make_unique<APIClient>(host.baseUrl(), *auth, network, 3000ms);
    }

    // As a new store reads it, past the session's own copy.
    std::optional<QString> storedRefreshToken()
    {
        return resultOf(KeychainTokenStore(service, guard).read(QStringLiteral("refreshToken")));
    }

    Result<void> getMe()
    {
        return resultOf(client->sendVoid({.path = QStringLiteral("me"), .query = {}, .body = {}}));
    }

    const QString service = QStringLiteral("com.vorlia.app.tokens.outage-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::unique_ptr<PrivateSessionBus> bus;
    fake::FakeServiceHost host;
    QNetworkAccessManager network;
    KeyringDaemon keyring;
    std::unique_ptr<KeychainTokenStore> keychain;
    std::unique_ptr<AuthSession> auth;
    std::unique_ptr<APIClient> client;
};

TEST_F(KeychainOutage, TokensRotatedWhileTheKeyringIsGoneSurviveARestart)
{
    if (ranInChild("KeychainOutage"))
        return;
    ASSERT_TRUE(keyring.start());
    startSession();
    const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
    ASSERT_EQ(resultOf(auth->storeTokens(pair.accessToken, pair.refreshToken)), CredentialStoreState::available);

    keyring.stop();
    host.service().expireAccessTokens();
    EXPECT_TRUE(getMe()) << "the refresh's new pair serves this run";
    const std::optional<QString> rotated = resultOf(auth->refreshToken());
    ASSERT_NE(rotated, pair.refreshToken);
    EXPECT_NE(auth->credentialStoreState(), CredentialStoreState::available);
    EXPECT_EQ(storedRefreshToken(), std::nullopt) << "no keyring, nothing readable";

    ASSERT_TRUE(keyring.start());
    ASSERT_TRUE(spinUntil([this] { return !auth->hasUnsavedTokens(); }, keyringLimit)) << "the kept pair was never written";
    EXPECT_EQ(storedRefreshToken(), rotated);

    // A restart finds the newest pair, which the service still honours.
    startSession();
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedIn);
    host.service().expireAccessTokens();
    EXPECT_TRUE(getMe());
}

TEST_F(KeychainOutage, AKeyringThatNeverAnswersCostsOneGuardAndItsSessionReturnsLater)
{
    if (ranInChild("KeychainOutage"))
        return;
    ASSERT_TRUE(keyring.start());
    const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
    startSession();
    ASSERT_EQ(resultOf(auth->storeTokens(pair.accessToken, pair.refreshToken)), CredentialStoreState::available);
    auth.reset();
    keyring.stop();

    auto silent = std::make_unique<SilentSecretService>();
    startSession();
    QSignalSpy restored(auth.get(), &AuthSession::sessionRestored);
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedOut);
    EXPECT_EQ(auth->credentialStoreState(), CredentialStoreState::unavailable);
    const int callsOfOneRead = silent->calls();
    EXPECT_GE(callsOfOneRead, 1);
    spinUntil([] { return false; }, 2 * guard); // a second ask would come once the guard ran out
    EXPECT_EQ(silent->calls(), callsOfOneRead) << "start-up asked the hung keyring a second time";

    silent.reset();
    ASSERT_TRUE(keyring.start());
    ASSERT_TRUE(spinUntil([&restored] { return restored.count() == 1; }, keyringLimit)) << "the stored session was not taken up";
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedIn);
    EXPECT_EQ(resultOf(auth->refreshToken()), pair.refreshToken);
    EXPECT_EQ(auth->credentialStoreState(), CredentialStoreState::available);
}

TEST_F(KeychainOutage, ALockedKeyringIsToldApartAndNothingIsWritten)
{
    if (ranInChild("KeychainOutage"))
        return;
    ASSERT_TRUE(keyring.start(false));
    startSession();
    const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
    EXPECT_EQ(resultOf(auth->storeTokens(pair.accessToken, pair.refreshToken)), CredentialStoreState::locked);
    EXPECT_EQ(auth->credentialStoreState(), CredentialStoreState::locked);
    EXPECT_FALSE(writtenToAnyFile(pair.refreshToken));
}

} // namespace

namespace {

// The whole stack below the screens, in a child on a bus of its own that is
// up before the fixture's session first asks the keyring.
class KeychainOutageStack : public AppStackFixture {
protected:
    static void SetUpTestSuite()
    {
        if (isChild())
            bus = new PrivateSessionBus;
    }
    static void TearDownTestSuite()
    {
        delete bus;
        bus = nullptr;
    }

    static inline PrivateSessionBus *bus = nullptr;
    KeyringDaemon keyring;
};

TEST_F(KeychainOutageStack, ASignInThatCannotKeepItsTokensSaysSoUntilTheKeyringIsBack)
{
    if (ranInChild("KeychainOutageStack"))
        return;
    ASSERT_TRUE(bus->isUp());
    QSignalSpy changes(store.get(), &SessionStore::credentialStoreStateChanged);
    const fake::Account account = fake::ServiceState::seededAccount();
    const Result<User> user = resultOf(repositories->auth.login(account.email, account.password, std::nullopt));
    ASSERT_TRUE(user);

    EXPECT_FALSE(resultOf(store->completeSignIn(*user))) << "the sign-in looked as if its tokens were kept";
    EXPECT_EQ(store->credentialStoreState(), CredentialStoreState::unavailable);
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedIn);
    EXPECT_TRUE(auth->hasUnsavedTokens());
    EXPECT_TRUE(store->lastSyncedAt()) << "the session works for this run";

    ASSERT_TRUE(keyring.start());
    ASSERT_TRUE(spinUntil([this] { return store->credentialStoreState() == CredentialStoreState::available; }, keyringLimit))
        << "the keyring's arrival went unnoticed";
    EXPECT_FALSE(auth->hasUnsavedTokens());
    EXPECT_EQ(changes.count(), 2);
    const std::optional<QString> refresh = resultOf(auth->refreshToken());
    ASSERT_TRUE(refresh);
    EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), refresh);
    EXPECT_EQ(storedToken(QStringLiteral("accessToken")), resultOf(auth->accessToken()));
    EXPECT_FALSE(writtenToAnyFile(*refresh)) << "a token went somewhere other than the keyring";
}

TEST_F(KeychainOutageStack, AStartWithoutTheKeyringIsSignedOutUntilItComesThenResumesWithoutARestart)
{
    if (ranInChild("KeychainOutageStack"))
        return;
    ASSERT_TRUE(bus->isUp());
    ASSERT_TRUE(keyring.start());
    startSignedIn();
    const std::optional<User> user = store->currentUser();
    keyring.stop();

    rebuildStore();
    resultOf(store->bootstrap());
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedOut);
    EXPECT_EQ(store->credentialStoreState(), CredentialStoreState::unavailable);

    service().clearRecords();
    ASSERT_TRUE(keyring.start());
    ASSERT_TRUE(spinUntil([this] { return store->authState() == SessionStore::AuthState::signedIn; }, keyringLimit));
    EXPECT_EQ(store->currentUser(), user) << "the cached people were not shown";
    ASSERT_TRUE(spinUntil([this] { return store->lastSyncedAt().has_value(); }));
    EXPECT_EQ(service().requestCount(QStringLiteral("sync")), 1);
}

} // namespace
