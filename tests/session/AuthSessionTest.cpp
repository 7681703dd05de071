// Token refresh and persistence against the local fake service and a real keychain.
#include "support/PipelineFixture.h"

#include <QJsonDocument>
#include <QSignalSpy>
#include <QTimer>

using namespace vorlie;
using namespace vorlie::testing;
using fake::ScriptedReply;

class AuthSessionTest : public PipelineFixture {
protected:
    Result<QString> refresh() { return resultOf(auth->refreshAccessToken()); }
    AuthSession::State state() { return resultOf(auth->state()); }
};

TEST_F(AuthSessionTest, WithoutARefreshTokenThereIsNoSessionAndNoExchange)
{
    const auto bare = refresh();
    ASSERT_FALSE(bare);
    EXPECT_EQ(bare.error(), ServiceError(APIError::unauthorized()));
    resultOf(keychain.write(QStringLiteral("orphan"), QStringLiteral("accessToken")));
    restart();
    EXPECT_EQ(state(), AuthSession::State::signedOut);
    service().script("GET", QStringLiteral("me"), reply(401, R"({"error":{"code":"TOKEN_EXPIRED","message":"x"}})"));
    const auto result = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));
    EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), 0);
}

TEST_F(AuthSessionTest, RefreshHasItsExactWireFormAndItsPairSurvivesARestart)
{
    const auto pair = signIn();
    const auto result = refresh();
    ASSERT_TRUE(result) << describe(result).toStdString();
    const auto seen = service().requests(QStringLiteral("auth/refresh"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].method, QByteArray("POST"));
    EXPECT_FALSE(seen[0].headers.contains("authorization"));
    EXPECT_EQ(seen[0].headers.value("content-type"), QByteArray("application/json"));
    EXPECT_EQ(QJsonDocument::fromJson(seen[0].body).object(), (QJsonObject{{"refreshToken", pair.refreshToken}}));
    // The service rotated both tokens; the new pair is what the keychain
    // holds and what a restart finds.
    EXPECT_EQ(storedToken(QStringLiteral("accessToken")), *result);
    const std::optional<QString> rotated = storedToken(QStringLiteral("refreshToken"));
    EXPECT_NE(rotated, pair.refreshToken);
    restart();
    EXPECT_EQ(state(), AuthSession::State::signedIn);
    EXPECT_EQ(resultOf(auth->accessToken()), *result);
    EXPECT_EQ(resultOf(auth->refreshToken()), rotated);
}

// Only a 401 signs out and clears the keychain; any other answer keeps the tokens.
TEST_F(AuthSessionTest, RefreshAnswersOtherThanNewTokensFailAndOnlyA401SignsOut)
{
    const auto fresh = service().issueTokens(fake::ServiceState::seededUserId());
    const std::pair<ScriptedReply, bool> rows[] = {
        {reply(500, errorEnvelope("x", "y")), false}, {reply(201, tokenBody(fresh)), false},
        {reply(401, errorEnvelope("INVALID_REFRESH_TOKEN", "x")), true},
    };
    for (const auto &[answer, signsOut] : rows) {
        SCOPED_TRACE(answer.status);
        const auto pair = signIn();
        service().script("POST", QStringLiteral("auth/refresh"), answer);
        QSignalSpy stateChanges(auth.get(), &AuthSession::stateChanged);
        const auto result = refresh();
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));
        EXPECT_EQ(state(), signsOut ? AuthSession::State::signedOut : AuthSession::State::signedIn);
        EXPECT_EQ(stateChanges.count(), signsOut ? 1 : 0);
        EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), signsOut ? std::nullopt : std::optional(pair.refreshToken));
        EXPECT_EQ(storedToken(QStringLiteral("accessToken")), signsOut ? std::nullopt : std::optional(pair.accessToken));
    }
    // The handle was cleared each time: every call made its own exchange.
    EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), 3);
}

TEST_F(AuthSessionTest, TransportAndDecodingFailuresPassThroughUnclassified)
{
    const auto pair = signIn();
    const struct {
        const char *name;
        ScriptedReply answer;
        PassThroughError::Origin origin;
        APIError shownAs;
    } rows[] = {
        {"dropped", misbehaving(ScriptedReply::Behaviour::dropConnection), PassThroughError::Origin::transport, APIError::offline()},
        {"silent", misbehaving(ScriptedReply::Behaviour::hang), PassThroughError::Origin::transport, APIError::timeout()},
        {"one token only", reply(200, R"({"data":{"accessToken":"only one"}})"), PassThroughError::Origin::decoding,
         APIError::unknown(-1)},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        service().clearScripts();
        service().scriptAlways("POST", QStringLiteral("auth/refresh"), row.answer);
        const auto result = refresh();
        ASSERT_FALSE(result);
        ASSERT_NE(result.error().passThrough(), nullptr);
        EXPECT_EQ(result.error().passThrough()->origin, row.origin);
        EXPECT_EQ(result.error().userMessage(), row.shownAs.userMessage());
    }
    EXPECT_EQ(state(), AuthSession::State::signedIn);
    EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), pair.refreshToken);
}

TEST_F(AuthSessionTest, SignOutDuringASlowRefreshStaysSignedOutAcrossARestart)
{
    signIn();
    const auto fresh = service().issueTokens(fake::ServiceState::seededUserId());
    service().script("POST", QStringLiteral("auth/refresh"), reply(200, tokenBody(fresh), 400ms));

    auto running = auth->refreshAccessToken();
    resultOf(auth->clearTokens());
    const auto result = resultOf(running);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));

    restart();
    EXPECT_EQ(state(), AuthSession::State::signedOut);
    EXPECT_FALSE(storedToken(QStringLiteral("accessToken")));
    EXPECT_FALSE(storedToken(QStringLiteral("refreshToken")));
}

TEST_F(AuthSessionTest, ARejectedOldRefreshDoesNotSignOutTheNextAccount)
{
    signIn();
    service().script("POST", QStringLiteral("auth/refresh"), reply(401, errorEnvelope("INVALID_REFRESH_TOKEN", "x"), 400ms));

    auto running = auth->refreshAccessToken();
    const auto next = service().issueTokens(fake::ServiceState::seededUserId());
    resultOf(auth->storeTokens(next.accessToken, next.refreshToken));
    EXPECT_FALSE(resultOf(running));

    EXPECT_EQ(state(), AuthSession::State::signedIn);
    EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), next.refreshToken);
    EXPECT_EQ(storedToken(QStringLiteral("accessToken")), next.accessToken);
}

TEST_F(AuthSessionTest, ACallersCancellationDoesNotStopTheRefresh)
{
    signIn();
    service().expireAccessTokens();
    const auto fresh = service().issueTokens(fake::ServiceState::seededUserId());
    service().script("POST", QStringLiteral("auth/refresh"), reply(200, tokenBody(fresh), 300ms));

    const CancelToken cancel = CancelToken::make();
    auto call = client->sendVoid(get(QStringLiteral("me")), cancel);
    QTimer::singleShot(100ms, [cancel] { cancel.cancel(); });
    const auto result = resultOf(call);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::cancelled()));
    // The exchange completed and its tokens were kept; the request was not repeated.
    EXPECT_EQ(storedToken(QStringLiteral("accessToken")), fresh.accessToken);
    EXPECT_EQ(service().requestCount(QStringLiteral("me")), 1);
}

// The program draws its first frame before it reads the keychain: a session
// reads its tokens when it is first asked, not when it is made.
TEST_F(AuthSessionTest, TheStoredTokensAreReadWhenTheSessionIsFirstAskedNotWhenItIsMade)
{
    signIn();
    restart();
    // Had the new session read at once, its read would come before this removal.
    resultOf(keychain.deleteItem(QStringLiteral("refreshToken")));
    EXPECT_EQ(auth->accessTokenAtRest(), std::nullopt) << "before its load the session knows no token";
    EXPECT_EQ(state(), AuthSession::State::signedOut);
}
