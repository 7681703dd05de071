// The request pipeline against the local fake service and a real keychain.
#include "support/PipelineFixture.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTcpServer>
#include <QTimer>

using namespace vorlie;
using namespace vorlie::testing;
using fake::ScriptedReply;

namespace {

// A record with an instant, to see date strictness through the pipeline.
struct Stamp {
    QDateTime at;
};

} // namespace

template<>
struct vorlie::JsonCodec<Stamp> {
    static std::optional<Stamp> decode(JsonView v)
    {
        Stamp s;
        if (!v.isObject() || !json::readRequired(v, QLatin1StringView("at"), s.at))
            return std::nullopt;
        return s;
    }
};

class Pipeline : public PipelineFixture {};

TEST_F(Pipeline, AuthenticatedRequestCarriesBearerAndContentType)
{
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
}

TEST_F(Pipeline, UnauthenticatedRequestNeverCarriesATokenAndIsNotRetriedOn401)
{
    signIn();
    service().script("GET", QStringLiteral("open"), reply(401, errorEnvelope("UNAUTHORIZED", "no")));
    const auto result = resultOf(client->sendVoid(get(QStringLiteral("open"), false)));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));
    EXPECT_EQ(service().requestCount(QStringLiteral("open")), 1);
    EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), 0);
    EXPECT_FALSE(service().requests(QStringLiteral("open"))[0].headers.contains("authorization"));
    EXPECT_EQ(service().requests(QStringLiteral("open"))[0].headers.value("content-type"), QByteArray("application/json"));
}

TEST_F(Pipeline, AuthenticatedRequestWithoutTokenSendsNothing)
{
    const auto result = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));
    EXPECT_EQ(service().requests().size(), 0);
}

TEST_F(Pipeline, ConcurrentExpiredRequestsShareOneRefreshAndRepeatOnceEach)
{
    signIn();
    service().expireAccessTokens();
    // A slow refresh makes sure every 401 arrives while it is still running.
    const fake::TokenPair next = service().issueTokens(fake::ServiceState::seededUserId());
    ScriptedReply slowRefresh = reply(200, tokenBody(next));
    slowRefresh.delay = 300ms;
    service().script("POST", QStringLiteral("auth/refresh"), slowRefresh);

    auto a = client->send<QJsonObject>(get(QStringLiteral("me")));
    auto b = client->send<QJsonObject>(get(QStringLiteral("me")));
    auto c = client->sendVoid(get(QStringLiteral("me")));
    const auto ra = resultOf(a);
    const auto rb = resultOf(b);
    const auto rc = resultOf(c);
    EXPECT_TRUE(ra) << describe(ra).toStdString();
    EXPECT_TRUE(rb) << describe(rb).toStdString();
    EXPECT_TRUE(rc) << describe(rc).toStdString();

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

TEST_F(Pipeline, A401AfterTheRefreshIsFinal)
{
    signIn();
    service().script("GET", QStringLiteral("me"), reply(401, errorEnvelope("TOKEN_EXPIRED", "x")));
    service().script("GET", QStringLiteral("me"), reply(401, errorEnvelope("TOKEN_EXPIRED", "x")));
    auto withEnvelope = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(withEnvelope);
    EXPECT_EQ(withEnvelope.error(), ServiceError(APIError::unauthorized()));

    service().script("GET", QStringLiteral("me"), reply(401));
    service().script("GET", QStringLiteral("me"), reply(401));
    auto bare = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(bare);
    EXPECT_EQ(bare.error(), ServiceError(APIError::unknown(401)));

    EXPECT_EQ(service().requestCount(QStringLiteral("auth/refresh")), 2);
    EXPECT_EQ(service().requestCount(QStringLiteral("me")), 4);
}

TEST_F(Pipeline, AFailedRefreshSurfacesItsErrorAndTheRequestIsNotRepeated)
{
    signIn();
    service().script("GET", QStringLiteral("me"), reply(401, errorEnvelope("TOKEN_EXPIRED", "x")));
    service().script("POST", QStringLiteral("auth/refresh"), reply(500, errorEnvelope("BOOM", "down")));
    const auto result = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unauthorized()));
    EXPECT_EQ(service().requestCount(QStringLiteral("me")), 1);
}

TEST_F(Pipeline, ErrorStatusesAreClassifiedByTheirBody)
{
    signIn();
    struct Case {
        int status;
        QByteArray body;
        APIError expected;
    };
    const Case cases[] = {
        {429, errorEnvelope("RATE_LIMITED", "slow"), APIError::rateLimited()},
        {429, {}, APIError::unknown(429)},
        {500, errorEnvelope("x", "y"), APIError::server(QStringLiteral("x"), QStringLiteral("y"), 500)},
        {422, errorEnvelope("INVALID", "Nope"), APIError::server(QStringLiteral("INVALID"), QStringLiteral("Nope"), 422)},
        {503, "<html>busy</html>", APIError::unknown(503)},
        {404, "not json", APIError::unknown(404)},
    };
    for (const Case &c : cases) {
        service().script("GET", QStringLiteral("me"), reply(c.status, c.body));
        const auto result = resultOf(client->send<QJsonObject>(get(QStringLiteral("me"))));
        ASSERT_FALSE(result) << c.status;
        EXPECT_EQ(result.error(), ServiceError(c.expected)) << c.status << " " << describe(result).toStdString();
    }
}

TEST_F(Pipeline, RedirectsAreNotFollowed)
{
    signIn();
    ScriptedReply redirect = reply(302);
    redirect.headers = {{"Location", host.baseUrl().toEncoded() + "/elsewhere"}};
    service().script("GET", QStringLiteral("me"), redirect);
    const auto result = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unknown(302)));
    EXPECT_EQ(service().requestCount(QStringLiteral("elsewhere")), 0);
}

TEST_F(Pipeline, SuccessBodiesMustBeADataEnvelope)
{
    signIn();
    service().script("GET", QStringLiteral("me"), reply(204));
    EXPECT_TRUE(resultOf(client->sendVoid(get(QStringLiteral("me")))));

    const QByteArray bodies[] = {"", R"({"user":{}})", "{\"data\":", R"({"data":"text"})", "[1,2]", "\xff\xfe"};
    for (const QByteArray &body : bodies) {
        service().script("GET", QStringLiteral("me"), reply(body.isEmpty() ? 204 : 200, body));
        const auto result = resultOf(client->send<QJsonObject>(get(QStringLiteral("me"))));
        ASSERT_FALSE(result) << body.constData();
        EXPECT_EQ(result.error(), ServiceError(APIError::decoding())) << body.constData();
    }
}

TEST_F(Pipeline, InstantsWithFractionalSecondsFailTheWholeResponse)
{
    signIn();
    service().script("GET", QStringLiteral("stamp"), reply(200, R"({"data":{"at":"2025-03-01T08:15:30.250Z"}})"));
    const auto fractional = resultOf(client->send<Stamp>(get(QStringLiteral("stamp"))));
    ASSERT_FALSE(fractional);
    EXPECT_EQ(fractional.error(), ServiceError(APIError::decoding()));

    service().script("GET", QStringLiteral("stamp"), reply(200, R"({"data":{"at":"2025-03-01T09:15:30+01:00"}})"));
    const auto offset = resultOf(client->send<Stamp>(get(QStringLiteral("stamp"))));
    ASSERT_TRUE(offset);
    EXPECT_EQ(formatInstant(offset->at), QStringLiteral("2025-03-01T08:15:30Z"));
}

TEST_F(Pipeline, TransportFailuresAreClassified)
{
    signIn();
    ScriptedReply slow = reply(200, R"({"data":{}})");
    slow.delay = 3s;
    service().script("GET", QStringLiteral("me"), slow);
    auto timedOut = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(timedOut);
    EXPECT_EQ(timedOut.error(), ServiceError(APIError::timeout()));

    ScriptedReply dropped;
    dropped.behaviour = ScriptedReply::Behaviour::dropConnection;
    service().scriptAlways("GET", QStringLiteral("me"), dropped);
    auto offline = resultOf(client->sendVoid(get(QStringLiteral("me"))));
    ASSERT_FALSE(offline);
    EXPECT_EQ(offline.error(), ServiceError(APIError::offline()));

    ScriptedReply truncated = reply(200, R"({"data":{"displayName":"a long enough body to cut in half"}})");
    truncated.behaviour = ScriptedReply::Behaviour::truncateBody;
    service().script("GET", QStringLiteral("me"), truncated);
    auto cut = resultOf(client->send<QJsonObject>(get(QStringLiteral("me"))));
    ASSERT_FALSE(cut);
    EXPECT_EQ(cut.error(), ServiceError(APIError::offline()));
}

TEST_F(Pipeline, NoServiceListeningIsUnknownNotAHang)
{
    QTcpServer placeholder;
    ASSERT_TRUE(placeholder.listen(QHostAddress::LocalHost, 0));
    const quint16 unusedPort = placeholder.serverPort();
    placeholder.close();
    AuthSession session(keychain, QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(unusedPort)), network);
    APIClient refused(QUrl(QStringLiteral("http://127.0.0.1:%1/api/v1").arg(unusedPort)), session, network, requestTimeout);
    const auto result = resultOf(refused.sendVoid(get(QStringLiteral("status"), false)));
    resultOf(session.state()); // its token load must end before it goes
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError::unanswered(APIError::unknown(-1)));
    EXPECT_TRUE(result.error().isUnanswered());
}

TEST_F(Pipeline, CancellingTheCallerGivesCancelledNotTimeout)
{
    signIn();
    ScriptedReply hang;
    hang.behaviour = ScriptedReply::Behaviour::hang;
    service().script("GET", QStringLiteral("me"), hang);
    const CancelToken cancel = CancelToken::make();
    auto task = client->sendVoid(get(QStringLiteral("me")), cancel);
    QTimer::singleShot(100ms, [cancel] { cancel.cancel(); });
    const auto result = resultOf(task);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::cancelled()));

    const auto already = resultOf(client->sendVoid(get(QStringLiteral("me")), cancel));
    ASSERT_FALSE(already);
    EXPECT_EQ(already.error(), ServiceError(APIError::cancelled()));
}

TEST_F(Pipeline, EveryExchangeKeepsItsOwnDeadlineBesideSlowerOnes)
{
    signIn();
    ScriptedReply hang;
    hang.behaviour = ScriptedReply::Behaviour::hang;
    service().scriptAlways("GET", QStringLiteral("me"), hang);
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

    giveUp.cancel();
    const auto patientResult = resultOf(waiting);
    ASSERT_FALSE(patientResult);
    EXPECT_EQ(patientResult.error(), ServiceError(APIError::cancelled()));
}

TEST_F(Pipeline, OversizedBodiesAreRefused)
{
    signIn();
    service().script("GET", QStringLiteral("me"), reply(200, "{\"data\":\"" + QByteArray(9 * 1024 * 1024, 'x') + "\"}"));
    const auto result = resultOf(client->send<QJsonValue>(get(QStringLiteral("me"))));
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error(), ServiceError(APIError::unknown(-1)));
    EXPECT_FALSE(result.error().isUnanswered()) << "the service did answer";
}

TEST_F(Pipeline, BodiesAreSentAsCompactJsonAndEncodingFailuresPassThrough)
{
    signIn();
    APIRequest post = get(QStringLiteral("me"));
    post.method = HTTPMethod::patch;
    post.body = AnyEncodable(QJsonObject{{"locale", "de"}});
    service().script("PATCH", QStringLiteral("me"), reply(200, R"({"data":{}})"));
    EXPECT_TRUE(resultOf(client->send<QJsonObject>(post)));
    EXPECT_EQ(service().requests(QStringLiteral("me")).last().body, QByteArray(R"({"locale":"de"})"));
    EXPECT_EQ(service().requests(QStringLiteral("me")).last().method, QByteArray("PATCH"));

    post.body = AnyEncodable(QStringLiteral("a bare string is no body"));
    const auto result = resultOf(client->sendVoid(post));
    ASSERT_FALSE(result);
    ASSERT_NE(result.error().passThrough(), nullptr);
    EXPECT_EQ(result.error().passThrough()->origin, PassThroughError::Origin::encoding);
    EXPECT_FALSE(result.error().userMessage().isEmpty());
}
