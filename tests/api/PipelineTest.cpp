// The request pipeline against the local fake service and a real keychain.
#include "support/PipelineFixture.h"

#include <QElapsedTimer>
#include <QJsonDocument>

using namespace vorlie;
using namespace vorlie::testing;
using fake::ScriptedReply;

class Pipeline : public PipelineFixture {};

// Without a token an authenticated request is not sent, with one it carries it;
// an unauthenticated one never carries the token and is not repeated on a 401.
TEST_F(Pipeline, TokensGoOnlyWithAuthenticatedRequests)
{
    const auto withoutToken = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(withoutToken);
    EXPECT_EQ(withoutToken.error(), ServiceError(APIError::unauthorized()));
    EXPECT_EQ(service().requests().size(), 0);

    const auto tokens = signIn();
    const auto user = resultOf(client->send<QJsonObject>(get(QStringLiteral("me"))));
    ASSERT_TRUE(user) << describe(user).toStdString();
    EXPECT_EQ(user->value(QLatin1StringView("displayName")).toString(), QStringLiteral("Quorrin"));
    const auto seen = service().requests(QStringLiteral("me"));
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0].method, QByteArray("GET"));
    EXPECT_EQ(seen[0].headers.value("authorization"), "Bearer " + tokens.accessToken.toUtf8());
    EXPECT_EQ(seen[0].headers.value("content-type"), QByteArray("application/json"));
    EXPECT_EQ(seen[0].rawTarget, QStringLiteral("/api/v1/me"));

    service().script("GET", QStringLiteral("open"), reply(401, errorEnvelope("UNAUTHORIZED", "no")));
    const auto result = resultOf(client->sendVoid(get(QStringLiteral("open"), false)));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));
    EXPECT_EQ(service().requestCount(QStringLiteral("open")), 1);
    EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), 0);
    EXPECT_FALSE(service().requests(QStringLiteral("open"))[0].headers.contains("authorization"));
}

TEST_F(Pipeline, ConcurrentExpiredRequestsShareOneRefreshAndRepeatOnceEach)
{
    signIn();
    service().expireAccessTokens();
    // A slow refresh makes sure every 401 arrives while it is still running.
    const fake::TokenPair next = service().issueTokens(fake::ServiceState::seededUserId());
    service().script("POST", QStringLiteral("auth/refresh"), reply(200, tokenBody(next), 300ms));

    auto a = client->send<QJsonObject>(get(QStringLiteral("me")));
    auto b = client->send<QJsonObject>(get(QStringLiteral("me")));
    auto c = client->sendVoid(get(QStringLiteral("me")));
    EXPECT_TRUE(resultOf(a));
    EXPECT_TRUE(resultOf(b));
    EXPECT_TRUE(resultOf(c));

    EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), 1);
    const auto mes = service().requests(QStringLiteral("me"));
    ASSERT_EQ(mes.size(), 6);
    int repeatedWithNewToken = 0;
    for (const auto &r : mes)
        repeatedWithNewToken += r.headers.value("authorization") == "Bearer " + next.accessToken.toUtf8();
    EXPECT_EQ(repeatedWithNewToken, 3);
    EXPECT_EQ(storedToken(QStringLiteral("accessToken")), next.accessToken);
    EXPECT_EQ(storedToken(QStringLiteral("refreshToken")), next.refreshToken);
}

// Every failing answer becomes exactly one error, sent and refreshed as often as the row says
// (how each status and envelope is classified is the validation table's to check;
// 0 sends: the transport may resend a GET on a dropped connection, so it is not counted).
TEST_F(Pipeline, FailingAnswersAreClassifiedAndRepeatedOnlyAfterA401)
{
    signIn();
    service().script("GET", QStringLiteral("me"), reply(204));
    EXPECT_TRUE(resultOf(client->sendVoid(get(QStringLiteral("me")))));
    using B = ScriptedReply::Behaviour;
    ScriptedReply redirect = reply(302);
    redirect.headers = {{"Location", host.baseUrl().toEncoded() + "/elsewhere"}};
    const auto decoding = APIError::decoding();
    const struct {
        const char *name;
        ScriptedReply answer;
        ServiceError expected;
        int sends = 1;
        int refreshes = 0;
        std::optional<ScriptedReply> refresh = std::nullopt;
    } rows[] = {
        {"503 in HTML", reply(503, "<html>busy</html>"), APIError::unknown(503)},
        {"a redirect, not followed", redirect, APIError::unknown(302)},
        {"204 without data", reply(204), decoding},
        {"no data envelope", reply(200, R"({"user":{}})"), decoding},
        {"cut JSON", reply(200, "{\"data\":"), decoding},
        {"data of the wrong type", reply(200, R"({"data":"text"})"), decoding},
        {"slower than the time-out", reply(200, R"({"data":{}})", 3s), APIError::timeout()},
        {"dropped", misbehaving(B::dropConnection), APIError::offline(), 0},
        {"body cut in half", misbehaving(B::truncateBody, 200, R"({"data":{"displayName":"a long enough body to cut in half"}})"),
         APIError::offline(), 0},
        // Answered, so not unanswered: refused for its size.
        {"oversized", reply(200, "{\"data\":\"" + QByteArray(qsizetype{9} * 1024 * 1024, 'x') + "\"}"), APIError::unknown(-1)},
        {"401 after the refresh too", reply(401, errorEnvelope("TOKEN_EXPIRED", "x")), APIError::unauthorized(), 2, 1},
        {"bare 401 after the refresh too", reply(401), APIError::unknown(401), 2, 1},
        {"401 and a failed refresh", reply(401, errorEnvelope("TOKEN_EXPIRED", "x")), APIError::unauthorized(), 1, 1,
         reply(500, errorEnvelope("BOOM", "down"))},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        service().clearScripts();
        service().clearRecords();
        service().scriptAlways("GET", QStringLiteral("me"), row.answer);
        if (row.refresh)
            service().script("POST", QStringLiteral("auth/refresh"), *row.refresh);
        const auto result = resultOf(client->send<QJsonObject>(get(QStringLiteral("me"))));
        ASSERT_FALSE(result);
        EXPECT_EQ(result.error(), row.expected) << describe(result).toStdString();
        if (row.sends > 0) {
            EXPECT_EQ(service().requestCount(QStringLiteral("me")), row.sends);
        }
        EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), row.refreshes);
        EXPECT_EQ(service().requestCount(QStringLiteral("elsewhere")), 0);
    }
}

TEST_F(Pipeline, EveryExchangeKeepsItsOwnDeadlineBesideSlowerOnesAndACancelledOneEndsAsCancelled)
{
    signIn();
    service().scriptAlways("GET", QStringLiteral("me"), misbehaving(ScriptedReply::Behaviour::hang));
    // A patient request goes first, on the same connection manager, so the
    // deadline timer is already set for its far-away minute.
    APIClient patient(host.baseUrl(), *auth, network, 60s);
    const CancelToken giveUp = CancelToken::make();
    auto waiting = patient.sendVoid(get(QStringLiteral("me")), giveUp);

    QElapsedTimer clock;
    clock.start();
    const auto hurried = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(hurried);
    EXPECT_EQ(hurried.error(), ServiceError(APIError::timeout()));
    EXPECT_LT(clock.elapsed(), 10'000); // its own limit, not the patient one's

    // Cancelled by its caller, it ends as cancelled, not as timed out; a
    // token cancelled already sends nothing.
    giveUp.cancel();
    const auto patientResult = resultOf(waiting);
    ASSERT_FALSE(patientResult);
    EXPECT_EQ(patientResult.error(), ServiceError(APIError::cancelled()));
    const auto already = resultOf(client->sendVoid(get(QStringLiteral("me")), giveUp));
    ASSERT_FALSE(already);
    EXPECT_EQ(already.error(), ServiceError(APIError::cancelled()));
    EXPECT_EQ(service().requestCount(QStringLiteral("me")), 2);
}

// Bodies themselves are the repositories' to check.
TEST_F(Pipeline, BodyEncodingFailuresPassThrough)
{
    signIn();
    APIRequest post = get(QStringLiteral("me"));
    post.method = HTTPMethod::patch;
    post.body = AnyEncodable(QStringLiteral("a bare string is no body"));
    const auto result = resultOf(client->sendVoid(post));
    ASSERT_FALSE(result);
    ASSERT_NE(result.error().passThrough(), nullptr);
    EXPECT_EQ(result.error().passThrough()->origin, PassThroughError::Origin::encoding);
    EXPECT_FALSE(result.error().userMessage().isEmpty());
    EXPECT_EQ(service().requestCount(QStringLiteral("me")), 0);
}
