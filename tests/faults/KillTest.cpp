// The program killed (SIGKILL) at random moments while it writes the shared
// suite and rotates its tokens, a hundred times over. After each kill the
// stored values are whole (the old or the new ones) and a restarted session
// can go on.
#include "FakeServiceHost.h"
#include "KeychainTokenStore.h"
#include "repositories/sample/MockRepositories.h"
#include "support/ResultOf.h"
#include "prefs/AppLanguage.h"
#include "prefs/PreferenceKeys.h"
#include "prefs/SharedJson.h"
#include "session/AuthSession.h"
#include "sync/SyncSnapshotCache.h"
#include "widget/WidgetSnapshot.h"

#include <QNetworkAccessManager>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

#include <cstdio>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

constexpr int kills = 100;

// The value as it comes back from the store: instants lose their fractions.
template<typename T>
T asStored(const T &value)
{
    return *JsonCodec<T>::decode(sharedjson::parse(*sharedjson::serialize(JsonCodec<T>::encode(value)))->root());
}

// The two values each stored item alternates between. The sample people's
// instants follow the clock, so the child takes the parent's values.
struct Versions {
    SyncSnapshot cache[2];
    WidgetSnapshot widget[2];
    AppLanguage language[2] = {AppLanguage::german, AppLanguage::english};

    Versions()
    {
        cache[0] = *resultOf(MockSyncRepository().fetchSync());
        cache[1] = cache[0];
        cache[1].serverTime = cache[1].serverTime.addSecs(60);
        cache[1].connections.clear();
        for (int i = 0; i < 2; ++i) {
            widget[i].personID = QStringLiteral("01KILLTEST");
            widget[i].displayName = i == 0 ? QStringLiteral("Quil") : QStringLiteral("Quil Ü");
            widget[i].statusText = QString(i == 0 ? 40 : 4000, u'x'); // of different sizes, so a torn file shows
            widget[i].updatedAt = cache[i].serverTime;
            widget[i] = asStored(widget[i]);
            cache[i] = asStored(cache[i]);
        }
    }

    QByteArray toJson() const
    {
        const QJsonArray all{JsonCodec<SyncSnapshot>::encode(cache[0]), JsonCodec<SyncSnapshot>::encode(cache[1]),
                             JsonCodec<WidgetSnapshot>::encode(widget[0]), JsonCodec<WidgetSnapshot>::encode(widget[1])};
        return QJsonDocument(all).toJson(QJsonDocument::Compact);
    }

    explicit Versions(const QByteArray &json)
    {
        const ParsedJson document = ParsedJson::parse(json);
        const std::vector<JsonView> all(document.root().begin(), document.root().end());
        for (std::size_t i = 0; i < 2; ++i) {
            cache[i] = *JsonCodec<SyncSnapshot>::decode(all.at(i));
            widget[i] = *JsonCodec<WidgetSnapshot>::decode(all.at(2 + i));
        }
    }
};

} // namespace

// The child: writes and rotates until it is killed.
TEST(ChildProcess, WritesAndRotatesUntilKilled)
{
    const Versions versions(qEnvironmentVariable("VORLIE_KILL_VERSIONS").toUtf8());
    const SharedDefaults defaults(PreferencePaths::under(qEnvironmentVariable("VORLIE_KILL_PREFS")));
    SyncSnapshotCache cache(defaults);
    KeychainTokenStore keychain(qEnvironmentVariable("VORLIE_KILL_KEYCHAIN"));
    QNetworkAccessManager network;
    AuthSession auth(keychain, QUrl(qEnvironmentVariable("VORLIE_KILL_SERVICE")), network);
    for (int turn = 0;; ++turn) {
        const int v = turn % 2;
        cache.save(versions.cache[v]);
        defaults.saveShared(versions.widget[v], prefkeys::widgetSnapshot());
        writeStoredLanguage(defaults, versions.language[v]);
        const Result<QString> refreshed = resultOf(auth.refreshAccessToken());
        std::printf("turn %d %s\n", turn, refreshed ? "rotated" : "refused");
        std::fflush(stdout);
    }
}

TEST(KillTest, StoredValuesStayWholeAndTheSessionGoesOnAfterAHundredKills)
{
    const Versions versions;
    fake::FakeServiceHost host;
    QTemporaryDir prefs;
    const QString keychainService = QStringLiteral("com.vorlia.app.tokens.kill-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    KeychainTokenStore keychain(keychainService);
    QNetworkAccessManager network;
    const SharedDefaults defaults(PreferencePaths::under(prefs.path()));
    SyncSnapshotCache(defaults).save(versions.cache[0]);
    ASSERT_TRUE(defaults.saveShared(versions.widget[0], prefkeys::widgetSnapshot()));
    ASSERT_TRUE(writeStoredLanguage(defaults, versions.language[0]));
    {
        AuthSession session(keychain, host.baseUrl(), network);
        const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
        ASSERT_EQ(resultOf(session.storeTokens(pair.accessToken, pair.refreshToken)), CredentialStoreState::available);
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLIE_KILL_PREFS"), prefs.path());
    environment.insert(QStringLiteral("VORLIE_KILL_VERSIONS"), QString::fromUtf8(versions.toJson()));
    environment.insert(QStringLiteral("VORLIE_KILL_KEYCHAIN"), keychainService);
    environment.insert(QStringLiteral("VORLIE_KILL_SERVICE"), host.baseUrl().toString());
    QRandomGenerator random(QRandomGenerator::global()->generate());
    int killedMidRotation = 0;
    int survived = 0;
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE(kill);
        QProcess child;
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ChildProcess.WritesAndRotatesUntilKilled")});
        // Killed once it is at work, at a random point of a few turns.
        const QDeadlineTimer started(30'000);
        QByteArray output;
        while (!(output += child.readAll()).contains("turn") && child.waitForReadyRead(static_cast<int>(started.remainingTime()))) {
        }
        ASSERT_TRUE(output.contains("turn")) << "the child never started its turns: " << output.toStdString()
                                             << child.readAllStandardError().toStdString();
        QThread::msleep(random.bounded(40)); // the random kill point itself, not a wait
        child.kill();
        child.waitForFinished();

        const std::optional<SyncSnapshot> cached = SyncSnapshotCache(defaults).load();
        ASSERT_TRUE(cached && (*cached == versions.cache[0] || *cached == versions.cache[1])) << "torn sync cache";
        const auto widget = defaults.loadShared<WidgetSnapshot>(prefkeys::widgetSnapshot());
        ASSERT_TRUE(widget && (*widget == versions.widget[0] || *widget == versions.widget[1])) << "torn widget snapshot";
        const auto language = defaults.text(prefkeys::appLanguage());
        ASSERT_TRUE(language == QStringLiteral("de") || language == QStringLiteral("en")) << "lost language";

        // As after a restart: the stored session goes on, unless the kill fell
        // between the service replacing the refresh token and the keychain
        // taking the new one, which no client can bridge.
        AuthSession restarted(keychain, host.baseUrl(), network);
        ASSERT_EQ(resultOf(restarted.state()), AuthSession::State::signedIn) << "the stored session was lost";
        if (resultOf(restarted.refreshAccessToken())) {
            ++survived;
            continue;
        }
        ++killedMidRotation;
        EXPECT_EQ(resultOf(restarted.state()), AuthSession::State::signedOut) << "a refused session was kept half";
        // An access token alone would be no session; the refresh token decides.
        EXPECT_FALSE(resultOf(keychain.read(QStringLiteral("refreshToken"))));
        // A new sign-in for the next round.
        const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
        ASSERT_EQ(resultOf(restarted.storeTokens(pair.accessToken, pair.refreshToken)), CredentialStoreState::available);
    }
    std::printf("%d kills: the session went on after %d; %d fell between the service's rotation and the keychain write\n",
                kills, survived, killedMidRotation);
    resultOf(AuthSession(keychain, host.baseUrl(), network).clearTokens());
}
