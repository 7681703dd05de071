// The application delegate: token replay, notification routing and the
// periodic refresh loop.
#include "shell/MacAppDelegate.h"

#include <QCoro/QCoroTimer>
#include <QElapsedTimer>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace std::chrono_literals;

namespace vorlie {
// Readable failures.
void PrintTo(const NotificationText &text, std::ostream *out)
{
    *out << '{' << text.title.toStdString() << " | " << text.body.toStdString() << '}';
}
} // namespace vorlie

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

// Every pushed message refreshes, a message in the foreground once the
// refresh is done; it shows its known type's words or else what it
// carries; only a recognised tap reaches the callback.
TEST(MacAppDelegate, APushedMessageRefreshesAndShowsItsKnownTypesWordsOrElseWhatItCarries)
{
    MacAppDelegate delegate;
    using Shown = std::optional<NotificationText>;
    // No callbacks yet: still shown, and a known type shows what it carries.
    EXPECT_EQ(QCoro::waitFor(delegate.willPresentNotification({{"type", "reaction_received"}, {"title", "Quil reacted"}})),
              (Shown{NotificationText{"Quil reacted", ""}}));
    int refreshes = 0;
    delegate.setOnRemoteNotification([&refreshes]() -> QCoro::Task<void> {
        co_await QCoro::sleepFor(20ms);
        ++refreshes;
    });
    // Words of a known type, as the session would give them.
    delegate.setNotificationText([](const PushNotificationPayload &payload) {
        return NotificationText{QStringLiteral("Quil set a new status"), payload.personId.value_or(QString())};
    });
    const QString appName = qtTrId("vorlie");
    const struct {
        const char *what;
        QVariantMap userInfo;
        Shown shown;
    } messages[] = {
        {"a known type, in its words", {{"type", "partner_status_changed"}, {"personId", "01P"}, {"title", "raw"}},
         NotificationText{"Quil set a new status", "01P"}},
        {"an unknown type with a title and a body", {{"type", "poke_received"}, {"title", "Quil poked you"}, {"body", "Poke back?"}},
         NotificationText{"Quil poked you", "Poke back?"}},
        {"a known type in upper case", {{"type", "PARTNER_STATUS_CHANGED"}, {"title", "Hello"}}, NotificationText{"Hello", ""}},
        {"no type at all", {{"title", "Hello"}, {"body", "there"}}, NotificationText{"Hello", "there"}},
        {"a body alone, under the app's name", {{"type", "poke_received"}, {"body", "Poke back?"}},
         NotificationText{appName, "Poke back?"}},
        {"texts of other types", {{"type", "poke_received"}, {"title", 7}, {"body", QVariantList{"a"}}}, std::nullopt},
        {"empty texts", {{"type", "poke_received"}, {"title", ""}, {"body", ""}}, std::nullopt},
        {"nothing carried", {{"type", "poke_received"}}, std::nullopt},
    };
    for (const auto &message : messages) {
        const int before = refreshes;
        EXPECT_EQ(QCoro::waitFor(delegate.willPresentNotification(message.userInfo)), message.shown) << message.what;
        EXPECT_EQ(refreshes, before + 1) << "shown or not, after its refresh: " << message.what;
    }
    delegate.didReceiveRemoteNotification();
    EXPECT_TRUE(QTest::qWaitFor([&] { return refreshes == int(std::size(messages)) + 1; }, 2000));


    QStringList opened;
    delegate.setOnNotificationTapped([&opened](const PushNotificationPayload &p) { opened << p.personId.value_or(QString()); });
    delegate.didReceiveNotificationResponse({{"type", "partner_status_changed"}, {"personId", "01P"}});
    delegate.didReceiveNotificationResponse({});
    EXPECT_EQ(opened, (QStringList{"01P"}));
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
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 3; }, 5000));
    EXPECT_EQ(maxRunning, 1);
    // One loop, each tick an interval after the previous refresh ended: 3 × (30 + 60) ms, less timer slack.
    EXPECT_GE(clock.elapsed(), 240) << "ticks came faster than one loop allows";

    delegate.applicationWillTerminate();
    EXPECT_FALSE(delegate.isPeriodicRefreshRunning());
    // A refresh in progress finishes; then nothing more starts. A loop still
    // going would tick again within 90 ms, so 200 ms of quiet prove it stopped.
    ASSERT_TRUE(QTest::qWaitFor([&running] { return running == 0; }, 2000));
    const int afterStop = ticks;
    QTest::qWait(200);
    EXPECT_EQ(ticks, afterStop);
}
