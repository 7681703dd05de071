// The HTTP side of the fake service: scripting, framing, timing and refusals.
// Every pipeline test trusts these, so they are checked from the outside with
// a real client and raw sockets.
#include "Client.h"
#include "support/ScriptedReplies.h"
#include "Router.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace vorlie::fake;
using namespace vorlie::fake::testing;
using vorlie::testing::reply;
using namespace std::chrono_literals;

namespace {

using HttpServiceTest = FakeServiceTest;

QByteArray statusLineOf(const QByteArray &answer)
{
    return answer.left(answer.indexOf("\r\n"));
}

} // namespace

TEST_F(HttpServiceTest, OneShotScriptsAreUsedInOrderThenTheBuiltInBehaviourAnswers)
{
    ScriptedReply first = reply(503, R"({"error":{"code":"DOWN","message":"later"}})");
    first.headers = {{"Retry-After", "5"}, {"Content-Type", "application/problem+json"}};
    host.service().script("GET", "me", first);
    host.service().script("GET", "me", reply(200, "not json"));

    const Answer a = call("GET", "me");
    EXPECT_EQ(a.status, 503);
    EXPECT_EQ(a.headers.value("retry-after"), "5");
    EXPECT_EQ(a.headers.value("content-type"), "application/problem+json");
    EXPECT_EQ(a.errorCode(), "DOWN");
    EXPECT_EQ(call("GET", "me").body, "not json");
    const Answer builtIn = call("GET", "me");
    EXPECT_EQ(builtIn.status, 401);
    EXPECT_EQ(builtIn.errorCode(), "UNAUTHORIZED");
}

TEST_F(HttpServiceTest, StandingScriptsServeAnyPathUntilClearedAndYieldToOneShots)
{
    host.service().scriptAlways("POST", "scripted/only", reply(204));
    host.service().script("POST", "scripted/only", reply(409, R"({"error":{"code":"X","message":"y"}})"));
    EXPECT_EQ(call("POST", "scripted/only").status, 409);
    EXPECT_EQ(call("POST", "scripted/only").status, 204);
    EXPECT_EQ(call("POST", "scripted/only").status, 204);
    // The method is part of the key.
    EXPECT_EQ(call("DELETE", "scripted/only").status, 404);

    host.service().clearScripts();
    const Answer unscripted = call("POST", "scripted/only");
    EXPECT_EQ(unscripted.status, 404);
    EXPECT_EQ(unscripted.errorCode(), "NOT_FOUND");
}

TEST_F(HttpServiceTest, RecordsEveryRequestWithLowerCaseHeadersExactTargetAndBody)
{
    call("POST", "auth/logout", R"({"refreshToken":"x"})", {{"X-Trace-ID", "abc"}});
    call("GET", "unknown/path?q=a%2Bb");
    call("POST", "auth/logout", R"({"refreshToken":"y"})");

    const auto logouts = host.service().requests("auth/logout");
    ASSERT_EQ(logouts.size(), 2);
    EXPECT_EQ(logouts[0].method, "POST");
    EXPECT_EQ(logouts[0].headers.value("x-trace-id"), "abc");
    EXPECT_EQ(logouts[0].headers.value("content-type"), "application/json");
    EXPECT_FALSE(logouts[0].headers.contains("X-Trace-ID"));
    EXPECT_EQ(logouts[0].body, R"({"refreshToken":"x"})");
    EXPECT_EQ(logouts[1].body, R"({"refreshToken":"y"})");

    const auto unknown = host.service().requests("unknown/path");
    ASSERT_EQ(unknown.size(), 1);
    EXPECT_EQ(unknown[0].rawTarget, "/api/v1/unknown/path?q=a%2Bb");
    EXPECT_EQ(host.service().requestCount("auth/logout"), 2);
    EXPECT_EQ(host.service().requestCount("auth/login"), 0);

    const auto all = host.service().requests();
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[1].path, "unknown/path");

    host.service().clearRecords();
    EXPECT_TRUE(host.service().requests().isEmpty());
}

TEST_F(HttpServiceTest, ADelayedAnswerArrivesLateWithoutHoldingUpOtherConnections)
{
    ScriptedReply slow = reply(200, R"({"data":"slow"})");
    slow.delay = 400ms;
    host.service().script("GET", "slow", slow);

    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<QNetworkReply> slowReply(network.get(QNetworkRequest(apiUrl(host, "slow"))));
    QNetworkAccessManager other; // a connection of its own for certain
    const Answer quick = QCoro::waitFor(exchange(other, apiUrl(host, "auth/refresh"), "POST", R"({"refreshToken":"nope"})", {}));
    EXPECT_EQ(quick.status, 401);
    EXPECT_LT(clock.elapsed(), 300);
    EXPECT_FALSE(slowReply->isFinished());

    QCoro::waitFor(qCoro(slowReply.get()).waitForFinished());
    EXPECT_GE(clock.elapsed(), 390);
    EXPECT_EQ(slowReply->readAll(), R"({"data":"slow"})");
}

TEST_F(HttpServiceTest, ADroppedConnectionIsSeenAsClosedByTheRemoteHost)
{
    ScriptedReply drop;
    drop.behaviour = ScriptedReply::Behaviour::dropConnection;
    // Standing: Qt resends once when a reused keep-alive connection closes.
    host.service().scriptAlways("GET", "me", drop);
    const Answer dropped = call("GET", "me");
    EXPECT_EQ(dropped.error, QNetworkReply::RemoteHostClosedError);
    EXPECT_EQ(dropped.status, 0);
}

TEST_F(HttpServiceTest, ATruncatedBodyAnnouncesItsFullLengthButEndsHalfway)
{
    const QByteArray body = R"({"data":{"padding":"0123456789012345678901234567890123456789"}})";
    ScriptedReply truncated = reply(200, body);
    truncated.behaviour = ScriptedReply::Behaviour::truncateBody;
    host.service().script("GET", "me", truncated);
    const QByteArray raw = rawExchange(host.port(), "GET /api/v1/me HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_TRUE(raw.contains("Content-Length: " + QByteArray::number(body.size()) + "\r\n")) << raw.toStdString();
    EXPECT_EQ(raw.mid(raw.indexOf("\r\n\r\n") + 4), body.left(body.size() / 2));

    host.service().script("GET", "me", truncated);
    const Answer cut = call("GET", "me");
    EXPECT_NE(cut.error, QNetworkReply::NoError);
}

TEST_F(HttpServiceTest, AHangingAnswerKeepsTheConnectionOpenAndSilent)
{
    ScriptedReply hang;
    hang.behaviour = ScriptedReply::Behaviour::hang;
    host.service().script("GET", "me", hang);
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, host.port());
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write("GET /api/v1/me HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_FALSE(socket.waitForReadyRead(300));
    EXPECT_EQ(socket.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(host.service().requestCount("me"), 1);
    // Meanwhile the service answers others.
    EXPECT_EQ(call("GET", "me").status, 401);
}

TEST_F(HttpServiceTest, KeepAliveServesPipelinedRequestsInOrderAndHonoursConnectionClose)
{
    host.service().script("GET", "one", reply(200, R"({"data":1})"));
    ScriptedReply delayed = reply(204);
    delayed.delay = 50ms; // the next request waits behind it on this connection
    host.service().script("GET", "two", delayed);
    host.service().script("GET", "three", reply(200, R"({"data":3})"));
    const QByteArray raw = rawExchange(host.port(),
                                       "GET /api/v1/one HTTP/1.1\r\nHost: x\r\n\r\n"
                                       "GET /api/v1/two HTTP/1.1\r\nHost: x\r\n\r\n"
                                       "GET /api/v1/three HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const qsizetype first = raw.indexOf("HTTP/1.1 200");
    const qsizetype second = raw.indexOf("HTTP/1.1 204 No Content\r\n");
    const qsizetype third = raw.indexOf("HTTP/1.1 200", second);
    ASSERT_GE(first, 0) << raw.toStdString();
    ASSERT_GT(second, first);
    ASSERT_GT(third, second);
    EXPECT_TRUE(raw.mid(second, third - second).contains("Content-Length: 0\r\n"));
    EXPECT_TRUE(raw.mid(third).contains("Connection: close\r\n"));
    EXPECT_TRUE(raw.endsWith(R"({"data":3})"));
}

TEST_F(HttpServiceTest, GarbageGetsAClean4xxAndTheConnectionClosedWhileTheServiceKeepsServing)
{
    const QByteArray hugeHeader = "GET /api/v1/me HTTP/1.1\r\nX-Big: " + QByteArray(qsizetype{70} * 1024, 'a') + "\r\n\r\n";
    const QList<QPair<QByteArray, QByteArray>> cases{
        {QByteArray("\x01\x02\xff\r\n\r\n", 7), "400"},
        {"GET\r\n\r\n", "400"},
        {"GET me HTTP/1.1\r\n\r\n", "400"},
        {"GET /api/v1/me HTTP/2.0\r\n\r\n", "400"},
        {"GET /api/v1/me HTTP/1.1\r\nno colon here\r\n\r\n", "400"},
        {"GET /api/v1/me HTTP/1.1\r\nBad Name: x\r\n\r\n", "400"},
        {"GET /api/v1/me HTTP/1.1\r\nContent-Length: -5\r\n\r\n", "400"},
        {"GET /api/v1/me HTTP/1.1\r\nContent-Length: +5\r\n\r\n", "400"},
        {"POST /api/v1/me HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\nab", "400"},
        {"POST /api/v1/me HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n0\r\n\r\n", "411"},
        {"POST /api/v1/auth/login HTTP/1.1\r\nContent-Length: 99999999999\r\n\r\n", "413"},
        {hugeHeader, "431"},
    };
    for (const auto &[garbage, status] : cases) {
        const QByteArray answer = rawExchange(host.port(), garbage);
        EXPECT_EQ(statusLineOf(answer).left(12), "HTTP/1.1 " + status) << garbage.left(60).toStdString();
        EXPECT_TRUE(answer.contains("Connection: close\r\n"));
        EXPECT_TRUE(answer.contains(R"("error":{"code":")"));
    }
    EXPECT_EQ(host.service().requestCount("me"), 0);
    EXPECT_EQ(call("GET", "me").status, 401);
}

TEST_F(HttpServiceTest, BodiesUpToOneMebibyteAreAcceptedAndLargerOnesRefused)
{
    host.service().scriptAlways("POST", "upload", reply(204));
    const QByteArray limit(qsizetype{1024} * 1024, 'x');
    const QByteArray accepted = rawExchange(host.port(), "POST /api/v1/upload HTTP/1.1\r\nConnection: close\r\nContent-Length: "
                                                             + QByteArray::number(limit.size()) + "\r\n\r\n" + limit);
    EXPECT_EQ(statusLineOf(accepted), "HTTP/1.1 204 No Content");
    ASSERT_EQ(host.service().requestCount("upload"), 1);
    EXPECT_EQ(host.service().requests("upload")[0].body.size(), limit.size());

    const Answer refused = call("POST", "upload", limit + 'x');
    EXPECT_EQ(refused.status, 413);
    EXPECT_EQ(host.service().requestCount("upload"), 1);
}

TEST_F(HttpServiceTest, UnknownPathsAndMethodsGetErrorEnvelopes)
{
    const Answer unknown = call("GET", "no/such/thing");
    EXPECT_EQ(unknown.status, 404);
    EXPECT_EQ(unknown.errorCode(), "NOT_FOUND");

    const Answer wrongMethod = call("DELETE", "auth/login");
    EXPECT_EQ(wrongMethod.status, 405);
    EXPECT_EQ(wrongMethod.errorCode(), "METHOD_NOT_ALLOWED");

    const Answer outside = QCoro::waitFor(exchange(network, QUrl(host.rootUrl().toString() + "/auth/login"), "POST", "{}", {}));
    EXPECT_EQ(outside.status, 404);
    EXPECT_EQ(host.service().requests().last().path, "/auth/login");
}

TEST(RouterTest, MatchesLiteralAndParameterSegmentsAndTellsAWrongMethodFromAnUnknownPath)
{
    Router router;
    const auto answer = [](int status) { return [status](const RouteCall &) { return reply(status); }; };
    router.add("GET", "status/catalog", Router::Access::bearer, answer(200));
    router.add("POST", "status/favorites/{key}", Router::Access::bearer, answer(204));

    const Router::Match favourite = router.match("POST", "status/favorites/miss%20you");
    ASSERT_NE(favourite.route, nullptr);
    EXPECT_EQ(favourite.params.value("key"), "miss you");

    EXPECT_EQ(router.match("POST", "status/favorites/").route, nullptr);
    EXPECT_EQ(router.match("POST", "status/favorites/a/b").route, nullptr);
    EXPECT_EQ(router.match("GET", "status/catalog/").route, nullptr);

    const Router::Match wrongMethod = router.match("DELETE", "status/favorites/tired");
    EXPECT_EQ(wrongMethod.route, nullptr);
    EXPECT_TRUE(wrongMethod.pathKnown);
    EXPECT_FALSE(router.match("GET", "status").pathKnown);
}
