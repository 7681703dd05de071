// The fake service's built-in accounts and tokens, as a client sees them.
#include "Client.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vorlie::fake;
using namespace vorlie::fake::testing;
using namespace std::chrono_literals;

namespace {

class ServiceStateTest : public FakeServiceTest {
protected:
    Answer login(const QByteArray &email, const QByteArray &password)
    {
        return call("POST", "auth/login", R"({"email":")" + email + R"(","password":")" + password + R"(","deviceId":"d1"})");
    }

    Answer refresh(const QString &token)
    {
        return call("POST", "auth/refresh", R"({"refreshToken":")" + token.toUtf8() + R"("})");
    }

    Answer me(const QString &accessToken)
    {
        return call("GET", "me", {}, {{"Authorization", "Bearer " + accessToken.toUtf8()}});
    }
};

bool isInstant(const QJsonValue &value)
{
    static const QRegularExpression form(QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$)"));
    return value.isString() && form.match(value.toString()).hasMatch();
}

} // namespace

TEST_F(ServiceStateTest, LoginWithTheSeededAccountGivesTokensAndAWellFormedUser)
{
    const Answer answer = login("quorrin@example.com", "vorlie-demo");
    ASSERT_EQ(answer.status, 200);
    const QJsonObject data = answer.data();
    EXPECT_FALSE(data.value("accessToken").toString().isEmpty());
    EXPECT_FALSE(data.value("refreshToken").toString().isEmpty());
    EXPECT_NE(data.value("accessToken"), data.value("refreshToken"));
    EXPECT_EQ(data.value("isNewUser"), QJsonValue(false));

    const QJsonObject user = data.value("user").toObject();
    EXPECT_EQ(user.value("id").toString(), ServiceState::seededUserId());
    EXPECT_EQ(user.value("displayName").toString(), "Quorrin");
    EXPECT_EQ(user.value("username").toString(), "quorrin");
    EXPECT_EQ(user.value("email").toString(), "quorrin@example.com");
    EXPECT_TRUE(isInstant(user.value("createdAt"))) << user.value("createdAt").toString().toStdString();
    for (const char *flag : {"notifyStatusReminder", "notifyPartnerStatusChanged", "notifyAutomationStatusChanged"})
        EXPECT_TRUE(user.value(flag).isBool()) << flag;
    const QJsonObject avatar = user.value("avatar").toObject();
    for (const char *key : {"skinTone", "hairStyle", "hairColor", "outfit", "outfitColor", "accessory", "expression", "sex"})
        EXPECT_TRUE(avatar.value(key).isString()) << key;
    // Optional fields are left out, never sent as null.
    for (auto it = user.constBegin(); it != user.constEnd(); ++it)
        EXPECT_FALSE(it->isNull()) << it.key().toStdString();

    EXPECT_EQ(login("QUORRIN@example.com", "vorlie-demo").status, 200);
}

TEST_F(ServiceStateTest, LoginRefusesWrongPasswordsUnknownAddressesAndMalformedBodies)
{
    const Answer wrong = login("quorrin@example.com", "vorlie-demo ");
    EXPECT_EQ(wrong.status, 401);
    EXPECT_EQ(wrong.errorCode(), "INVALID_CREDENTIALS");

    const Answer unknown = login("nobody@example.com", "vorlie-demo");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.errorCode(), "USER_NOT_FOUND");

    for (const QByteArray &body : {QByteArray("{not json"), QByteArray("[1,2]"), QByteArray(R"({"email":"quorrin@example.com"})"),
                                   QByteArray(R"({"email":"quorrin@example.com","password":42})"), QByteArray()}) {
        const Answer malformed = call("POST", "auth/login", body);
        EXPECT_EQ(malformed.status, 400) << body.toStdString();
        EXPECT_EQ(malformed.errorCode(), "BAD_REQUEST") << body.toStdString();
    }
    EXPECT_EQ(host.service().requestCount("auth/login"), 7);
}

TEST_F(ServiceStateTest, RefreshRotatesBothTokensAndRetiresTheOldRefreshToken)
{
    const QJsonObject session = login("quorrin@example.com", "vorlie-demo").data();
    const QString firstRefresh = session.value("refreshToken").toString();

    const Answer rotated = refresh(firstRefresh);
    ASSERT_EQ(rotated.status, 200);
    const QString secondAccess = rotated.data().value("accessToken").toString();
    const QString secondRefresh = rotated.data().value("refreshToken").toString();
    EXPECT_NE(secondRefresh, firstRefresh);
    EXPECT_NE(secondAccess, session.value("accessToken").toString());
    EXPECT_FALSE(host.service().requests("auth/refresh")[0].headers.contains("authorization"));
    EXPECT_EQ(me(secondAccess).status, 200);

    const Answer reused = refresh(firstRefresh);
    EXPECT_EQ(reused.status, 401);
    EXPECT_EQ(reused.errorCode(), "INVALID_REFRESH_TOKEN");
    EXPECT_EQ(refresh(secondRefresh).status, 200);

    EXPECT_EQ(call("POST", "auth/refresh", "{}").errorCode(), "INVALID_REFRESH_TOKEN");
    EXPECT_EQ(call("POST", "auth/refresh", "{oops").status, 400);
}

TEST_F(ServiceStateTest, LogoutRevokesTheRefreshTokenWithAnEmptyNoContentAnswer)
{
    const TokenPair tokens = host.service().issueTokens(ServiceState::seededUserId());
    const Answer loggedOut = call("POST", "auth/logout", R"({"refreshToken":")" + tokens.refreshToken.toUtf8() + R"("})");
    EXPECT_EQ(loggedOut.status, 204);
    EXPECT_TRUE(loggedOut.body.isEmpty());
    EXPECT_EQ(refresh(tokens.refreshToken).errorCode(), "INVALID_REFRESH_TOKEN");
    // Logging out twice, or with a token never issued, is still fine.
    EXPECT_EQ(call("POST", "auth/logout", R"({"refreshToken":"never issued"})").status, 204);
    EXPECT_EQ(call("POST", "auth/logout", "{}").status, 400);
}

TEST_F(ServiceStateTest, MeAnswersOnlyAValidBearer)
{
    const TokenPair tokens = host.service().issueTokens(ServiceState::seededUserId());
    const Answer ok = me(tokens.accessToken);
    ASSERT_EQ(ok.status, 200);
    EXPECT_EQ(ok.data().value("id").toString(), ServiceState::seededUserId());

    EXPECT_EQ(call("GET", "me").errorCode(), "UNAUTHORIZED");
    EXPECT_EQ(me("forged").errorCode(), "UNAUTHORIZED");
    EXPECT_EQ(me(tokens.refreshToken).errorCode(), "UNAUTHORIZED");
    EXPECT_EQ(call("GET", "me", {}, {{"Authorization", tokens.accessToken.toUtf8()}}).errorCode(), "UNAUTHORIZED");
    EXPECT_EQ(call("GET", "me", {}, {{"Authorization", "Basic " + tokens.accessToken.toUtf8()}}).status, 401);
}

TEST_F(ServiceStateTest, ExpiredAccessTokensAreRefusedWhileTheirRefreshTokensStillWork)
{
    const TokenPair tokens = host.service().issueTokens(ServiceState::seededUserId());
    host.service().expireAccessTokens();
    const Answer expired = me(tokens.accessToken);
    EXPECT_EQ(expired.status, 401);
    EXPECT_EQ(expired.errorCode(), "TOKEN_EXPIRED");

    const Answer renewed = refresh(tokens.refreshToken);
    ASSERT_EQ(renewed.status, 200);
    EXPECT_EQ(me(renewed.data().value("accessToken").toString()).status, 200);

    host.service().setAccessTokenLifetime(0s);
    EXPECT_EQ(me(host.service().issueTokens(ServiceState::seededUserId()).accessToken).errorCode(), "TOKEN_EXPIRED");
}

TEST(ServiceStateClockTest, AccessTokensLastFifteenMinutesByDefault)
{
    QDateTime now = QDateTime(QDate(2025, 3, 1), QTime(8, 0), Qt::UTC);
    ServiceState state([&now] { return now; });
    const TokenPair tokens = state.issueTokens(ServiceState::seededUserId());
    RecordedRequest request;
    request.method = "GET";
    request.path = "me";
    request.headers.insert("authorization", "Bearer " + tokens.accessToken.toUtf8());

    now = now.addSecs(15 * 60 - 1);
    EXPECT_EQ(state.handle("GET", "me", request).status, 200);
    now = now.addSecs(1);
    const ScriptedReply expired = state.handle("GET", "me", request);
    EXPECT_EQ(expired.status, 401);
    EXPECT_TRUE(expired.body.contains("TOKEN_EXPIRED"));
}

TEST_F(ServiceStateTest, AddedAndRegisteredAccountsCanSignIn)
{
    host.service().addAccount(Account{"mira@example.com", "secret-pass",
                                      QJsonObject{{"id", "01MIRA"}, {"displayName", "Mira"}, {"createdAt", "2025-02-01T10:00:00Z"}}});
    const Answer mira = login("mira@example.com", "secret-pass");
    ASSERT_EQ(mira.status, 200);
    EXPECT_EQ(mira.data().value("user").toObject().value("id").toString(), "01MIRA");

    const QByteArray registration = R"({"email":"new@example.com","password":"long enough","displayName":"Neu"})";
    const Answer created = call("POST", "auth/register", registration);
    ASSERT_EQ(created.status, 200);
    EXPECT_EQ(created.data().value("isNewUser"), QJsonValue(true));
    const QJsonObject user = created.data().value("user").toObject();
    EXPECT_EQ(user.value("displayName").toString(), "Neu");
    EXPECT_TRUE(isInstant(user.value("createdAt")));
    EXPECT_EQ(call("POST", "auth/register", registration).errorCode(), "EMAIL_TAKEN");
    EXPECT_EQ(call("POST", "auth/register", R"({"email":"short@example.com","password":"short"})").status, 400);
    EXPECT_EQ(login("new@example.com", "long enough").status, 200);
}

TEST_F(ServiceStateTest, PatchingMeChangesOnlyTheGivenFieldsAndRefusesUnknownOnes)
{
    const TokenPair tokens = host.service().issueTokens(ServiceState::seededUserId());
    const Headers bearer{{"Authorization", "Bearer " + tokens.accessToken.toUtf8()}};
    const Answer patched = call("PATCH", "me", R"({"notifyStatusReminder":false,"locale":"de"})", bearer);
    ASSERT_EQ(patched.status, 200);
    EXPECT_EQ(patched.data().value("notifyStatusReminder"), QJsonValue(false));
    EXPECT_EQ(patched.data().value("notifyPartnerStatusChanged"), QJsonValue(true));
    EXPECT_EQ(me(tokens.accessToken).data().value("locale").toString(), "de");

    EXPECT_EQ(call("PATCH", "me", R"({"id":"someone else"})", bearer).status, 400);
    EXPECT_EQ(call("PATCH", "me", R"({"notifyStatusReminder":"no"})", bearer).status, 400);
    EXPECT_EQ(me(tokens.accessToken).data().value("id").toString(), ServiceState::seededUserId());
    EXPECT_EQ(call("PATCH", "me", R"({"locale":"fr"})").status, 401);
}
