// The fake service's scripting and fault injection, which the pipeline and
// fault suites rely on to fail in exactly the way they say, checked from the
// outside with a real client and raw sockets.
#include "Client.h"
#include "support/ScriptedReplies.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace vorlie::fake;
using namespace vorlie::fake::testing;
using vorlie::testing::reply;
using namespace std::chrono_literals;

using HttpServiceTest = FakeServiceTest;

TEST_F(HttpServiceTest, OneShotScriptsComeFirstInOrderThenStandingOnesThenTheBuiltInBehaviour)
{
    ScriptedReply first = reply(503, R"({"error":{"code":"DOWN","message":"later"}})");
    first.headers = {{"Retry-After", "5"}, {"Content-Type", "application/problem+json"}};
    host.service().script("GET", "me", first);
    host.service().script("GET", "me", reply(200, "not json"));
    host.service().scriptAlways("POST", "scripted/only", reply(204));

    const Answer a = call("GET", "me");
    EXPECT_EQ(a.status, 503);
    EXPECT_EQ(a.headers.value("retry-after"), "5");
    EXPECT_EQ(a.headers.value("content-type"), "application/problem+json");
    EXPECT_EQ(a.errorCode(), "DOWN");
    EXPECT_EQ(call("GET", "me").body, "not json");
    const Answer builtIn = call("GET", "me");
    EXPECT_EQ(builtIn.status, 401);
    EXPECT_EQ(builtIn.errorCode(), "UNAUTHORIZED");

    EXPECT_EQ(call("POST", "scripted/only").status, 204);
    host.service().script("POST", "scripted/only", reply(409, R"({"error":{"code":"X","message":"y"}})"));
    EXPECT_EQ(call("POST", "scripted/only").status, 409);
    EXPECT_EQ(call("POST", "scripted/only").status, 204);
    EXPECT_EQ(call("DELETE", "scripted/only").status, 404) << "the method is part of the key";
    host.service().clearScripts();
    const Answer unscripted = call("POST", "scripted/only");
    EXPECT_EQ(unscripted.status, 404);
    EXPECT_EQ(unscripted.errorCode(), "NOT_FOUND");
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
    EXPECT_FALSE(socket.waitForReadyRead(300)) << "the hang answered"; // proving silence takes a wait
    EXPECT_EQ(socket.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(host.service().requestCount("me"), 1);
    // Meanwhile the service answers others.
    EXPECT_EQ(call("GET", "me").status, 401);
}

