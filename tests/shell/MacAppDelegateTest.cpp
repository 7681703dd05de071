// The application delegate: token replay, notification routing and the
// periodic refresh loop.
#include "shell/MacAppDelegate.h"

#include <QCoro/QCoroTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace std::chrono_literals;

TEST(MacAppDelegate, ATokenThatCameEarlyIsHandedOverWhenTheCallbackIsSet)
{
    MacAppDelegate delegate;
    delegate.didRegisterForRemoteNotifications("\x01\x02");
    QList<QByteArray> seen;
    delegate.setOnDeviceToken([&seen](const QByteArray &token) { seen << token; });
    delegate.didRegisterForRemoteNotifications("\x03");
    EXPECT_EQ(seen, (QList<QByteArray>{"\x01\x02", "\x03"}));
    EXPECT_EQ(delegate.deviceToken(), QByteArray("\x03"));
}

TEST(MacAppDelegate, OnlyARecognisedTapReachesTheCallback)
{
    MacAppDelegate delegate;
    QStringList opened;
    delegate.setOnNotificationTapped([&opened](const PushNotificationPayload &p) { opened << p.personId.value_or(QString()); });
    delegate.didReceiveNotificationResponse({{"type", "partner_status_changed"}, {"personId", "01P"}});
    delegate.didReceiveNotificationResponse({{"type", "Partner_Status_Changed"}, {"personId", "01Q"}});
    delegate.didReceiveNotificationResponse({});
    EXPECT_EQ(opened, (QStringList{"01P"}));
}

TEST(MacAppDelegate, NotificationsRefreshAndAForegroundOneWaitsForIt)
{
    MacAppDelegate delegate;
    int refreshes = 0;
    QCoro::waitFor(delegate.willPresentNotification()); // no callback yet: still shown, nothing breaks
    delegate.setOnRemoteNotification([&refreshes]() -> QCoro::Task<void> {
        co_await QCoro::sleepFor(20ms);
        ++refreshes;
    });
    QCoro::waitFor(delegate.willPresentNotification());
    EXPECT_EQ(refreshes, 1);
    delegate.didReceiveRemoteNotification();
    EXPECT_TRUE(QTest::qWaitFor([&refreshes] { return refreshes == 2; }, 2000));
}

TEST(MacAppDelegate, ThePeriodicLoopTicksAfterAnIntervalNeverOverlapsAndStopsOnTermination)
{
    MacAppDelegate delegate;
    int ticks = 0;
    int running = 0;
    int maxRunning = 0;
    delegate.setOnPeriodicRefresh([&]() -> QCoro::Task<void> {
        maxRunning = std::max(maxRunning, ++running);
        co_await QCoro::sleepFor(60ms); // longer than the interval
        --running;
        ++ticks;
    });
    delegate.startPeriodicRefresh(30ms);
    delegate.startPeriodicRefresh(30ms); // replaces the first loop
    EXPECT_EQ(ticks, 0) << "the first tick comes one interval after the start";
    QTest::qWait(400);
    EXPECT_EQ(maxRunning, 1);
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 5) << "one loop, each tick waiting for the previous refresh";

    delegate.applicationWillTerminate();
    EXPECT_FALSE(delegate.isPeriodicRefreshRunning());
    QTest::qWait(100); // a refresh in progress finishes, nothing more starts
    const int afterStop = ticks;
    QTest::qWait(200);
    EXPECT_EQ(ticks, afterStop);
}
