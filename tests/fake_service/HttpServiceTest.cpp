// The fake service's scripting, which the pipeline and fault suites rely on
// to answer in exactly the order and at the time they say, checked from the
// outside with a real client. Its faults are proven by the suites that use them.
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
