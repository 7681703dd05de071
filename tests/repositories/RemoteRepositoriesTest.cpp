// Service-backed repository calls against the local fake service: the
// method, path, body and headers it sends and the result it gives.
#include "repositories/RemoteAuthRepository.h"
#include "repositories/RemoteDeviceRepository.h"
#include "repositories/RemoteProfileRepository.h"
#include "repositories/RemoteStatusRepository.h"
#include "push/PushRegistrar.h"
#include "support/PipelineFixture.h"

#include <QJsonDocument>
#include <QTemporaryDir>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

QJsonObject bodyOf(const fake::RecordedRequest &request)
{
    return QJsonDocument::fromJson(request.body).object();
}

QStringList keysOf(const fake::RecordedRequest &request)
{
    QStringList keys = bodyOf(request).keys();
    keys.sort();
    return keys;
}

const char *const userJson = R"({"id":"01U","displayName":"Quorrin","avatar":{"skinTone":"warm_2","hairStyle":"short_2",)"
                             R"("hairColor":"black","outfit":"hoodie","outfitColor":"navy","accessory":"none","expression":"default"},)"
                             R"("createdAt":"2026-01-01T00:00:00Z"})";

} // namespace

class AccountRepositories : public PipelineFixture {
protected:
    RemoteAuthRepository authRepository{*client, *auth};
};

TEST_F(AccountRepositories, LoginAndRegistrationStoreBothTokensBeforeTheCallerContinuesAndAFailedLoginKeepsThem)
{
    const Result<User> user = resultOf(authRepository.login(QStringLiteral("quorrin@example.com"), QStringLiteral("vorlie-demo"), std::nullopt));
    ASSERT_TRUE(user) << describe(user).toStdString();
    EXPECT_EQ(user->displayName, QStringLiteral("Quorrin"));
    const auto access = storedToken(QStringLiteral("accessToken"));
    const auto refresh = storedToken(QStringLiteral("refreshToken"));
    EXPECT_TRUE(access.has_value());
    EXPECT_TRUE(refresh.has_value());

    EXPECT_FALSE(resultOf(authRepository.login(QStringLiteral("quorrin@example.com"), QStringLiteral("wrong"), QStringLiteral("dev-1"))));
    EXPECT_EQ(storedToken(QStringLiteral("accessToken")), access);
    EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), refresh);
    const auto seen = service().requests(QStringLiteral("auth/login"));
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0].method, QByteArray("POST"));
    EXPECT_EQ(keysOf(seen[0]), (QStringList{"email", "password"}));
    EXPECT_FALSE(seen[0].headers.contains("authorization"));
    EXPECT_EQ(bodyOf(seen[1]).value("deviceId").toString(), QStringLiteral("dev-1"));

    // A registration without the new-user flag still signs in.
    service().script("POST", QStringLiteral("auth/register"),
                     reply(200, QByteArray(R"({"data":{"accessToken":"a1","refreshToken":"r1","user":)") + userJson + "}}"));
    const Result<User> registered = resultOf(authRepository.registerAccount(QStringLiteral("new@example.com"), QStringLiteral("pw"),
                                                                                  QStringLiteral("Newbie"), std::nullopt));
    ASSERT_TRUE(registered) << describe(registered).toStdString();
    EXPECT_EQ(registered->id, QStringLiteral("01U"));
    EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), QStringLiteral("r1"));
    EXPECT_EQ(keysOf(service().requests(QStringLiteral("auth/register"))[0]), (QStringList{"displayName", "email", "password"}));
}

// Signing out with the service unreachable is the session store's test.
TEST_F(AccountRepositories, LogoutSendsTheRefreshTokenWithoutBearerAndSignsOutAndWithoutOneAsksNothing)
{
    resultOf(authRepository.logout());
    EXPECT_EQ(service().requestCount(QStringLiteral("auth/logout")), 0);
    const fake::TokenPair pair = signIn();
    resultOf(authRepository.logout());
    const auto seen = service().requests(QStringLiteral("auth/logout"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(bodyOf(seen[0]), (QJsonObject{{"refreshToken", pair.refreshToken}}));
    EXPECT_FALSE(seen[0].headers.contains("authorization"));
    EXPECT_EQ(resultOf(auth->state()), AuthSession::State::signedOut);
    EXPECT_FALSE(storedToken(QStringLiteral("refreshToken")).has_value());
}

TEST_F(AccountRepositories, UpdateMeWritesOnlyTheGivenFields)
{
    signIn();
    RemoteProfileRepository profile(*client);
    service().script("PATCH", QStringLiteral("me"), reply(200, QByteArray(R"({"data":)") + userJson + "}"));
    UpdateMeRequestBody changes;
    changes.notifyStatusReminder = false;
    const Result<User> user = resultOf(profile.updateMe(changes));
    ASSERT_TRUE(user) << describe(user).toStdString();
    const auto seen = service().requests(QStringLiteral("me"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].method, QByteArray("PATCH"));
    EXPECT_EQ(seen[0].body, QByteArray(R"({"notifyStatusReminder":false})")) << "sent as compact JSON";
}

class StatusRepositories : public PipelineFixture {
protected:
    StatusRepositories() { signIn(); }
    RemoteStatusRepository statuses{*client};
};

TEST_F(StatusRepositories, FavouritesAreAPathSegmentWithoutBodyAndKeysThatWouldRetargetItFailLocally)
{
    service().script("POST", QStringLiteral("status/favorites/tired"), reply(204));
    service().script("DELETE", QStringLiteral("status/favorites/miss_you"), reply(204));
    EXPECT_TRUE(resultOf(statuses.addFavorite(QStringLiteral("tired"))));
    EXPECT_TRUE(resultOf(statuses.removeFavorite(QStringLiteral("miss_you"))));

    const auto added = service().requests(QStringLiteral("status/favorites/tired"));
    ASSERT_EQ(added.size(), 1);
    EXPECT_EQ(added[0].method, QByteArray("POST"));
    EXPECT_EQ(added[0].rawTarget, QStringLiteral("/api/v1/status/favorites/tired"));
    EXPECT_TRUE(added[0].body.isEmpty());
    EXPECT_EQ(service().requests(QStringLiteral("status/favorites/miss_you"))[0].method, QByteArray("DELETE"));

    // Keys that would retarget the request fail locally.
    service().clearRecords();
    for (const QString key : {"../me", "a/b", "x?y=1", "%2e%2e", "", "tired#", "sp ace", "ü"}) {
        const Result<void> added = resultOf(statuses.addFavorite(key));
        ASSERT_FALSE(added) << key.toStdString();
        EXPECT_NE(added.error().passThrough(), nullptr);
        EXPECT_FALSE(resultOf(statuses.removeFavorite(key)));
    }
    EXPECT_EQ(service().requests().size(), 0);
}

TEST_F(StatusRepositories, SetStatusWithoutCustomTextSendsKeyAndSourceOnly)
{
    const Result<Status> stored = resultOf(statuses.setStatus(QStringLiteral("tired"), std::nullopt, StatusSource::manual));
    ASSERT_TRUE(stored) << describe(stored).toStdString();
    EXPECT_EQ(stored->statusKey, QStringLiteral("tired"));
    const auto seen = service().requests(QStringLiteral("status/me"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(bodyOf(seen[0]), (QJsonObject{{"statusKey", "tired"}, {"source", "manual"}}));
}

// Signed in to the fake service's own sample world.
class SampleWorld : public PipelineFixture {
protected:
    SampleWorld()
    {
        RemoteAuthRepository accounts(*client, *auth);
        const Result<User> user = resultOf(accounts.login(QStringLiteral("quorrin@example.com"), QStringLiteral("vorlie-demo"), std::nullopt));
        EXPECT_TRUE(user) << describe(user).toStdString();
    }
};

TEST_F(SampleWorld, DeviceRegistrationSendsProcessInformationTheHexTokenAndThenTheStoredId)
{
    QTemporaryDir dir;
    const SharedDefaults defaults(PreferencePaths::under(dir.path()));
    RemoteDeviceRepository devices(*client, [] {
        return DeviceInfo{QStringLiteral("1.2.3"), QStringLiteral("Debian GNU/Linux 12"), QStringLiteral("de_AT"), QStringLiteral("Europe/Vienna")};
    });
    PushRegistrar registrar(defaults, devices);
    resultOf(registrar.registerDeviceToken(QByteArray::fromHex("00ff10ab")));
    const std::optional<QString> stored = registrar.storedDeviceID(PushRegistrar::platform());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(defaults.text(QStringLiteral("registeredDeviceID.macos_direct")), stored);

    resultOf(registrar.registerDeviceToken(QByteArray::fromHex("00ff10ac")));
    const auto sent = service().requests(QStringLiteral("devices"));
    ASSERT_EQ(sent.size(), 2);
    const QJsonObject first = bodyOf(sent[0]);
    // The first registration has no id yet.
    EXPECT_EQ(keysOf(sent[0]), (QStringList{"appVersion", "locale", "osVersion", "platform", "pushToken", "timezone"}));
    EXPECT_EQ(first.value("platform").toString(), QStringLiteral("macos_direct"));
    EXPECT_EQ(first.value("pushToken").toString(), QStringLiteral("00ff10ab"));
    EXPECT_TRUE(sent[0].headers.value("authorization").startsWith("Bearer "));
    EXPECT_EQ(bodyOf(sent[1]).value("deviceId").toString(), *stored);
    EXPECT_EQ(registrar.storedDeviceID(PushRegistrar::platform()), stored) << "the service kept the same device record";

    service().script("POST", QStringLiteral("devices"), reply(500, errorEnvelope("DOWN", "down")));
    resultOf(registrar.registerDeviceToken(QByteArray::fromHex("01")));
    EXPECT_EQ(registrar.storedDeviceID(PushRegistrar::platform()), stored) << "a failure stores nothing";
}
