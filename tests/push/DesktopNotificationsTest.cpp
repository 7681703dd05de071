// Desktop notifications against a small notification server that owns the
// well-known name on a second connection to the test session's bus.
#include "PushTestSupport.h"
#include "support/NotificationServer.h"
#include "notifications/DesktopNotifications.h"

#include <QDBusMessage>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

constexpr int waitMs = 5000;

class DesktopNotificationsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh"; }

    // Shows one notification and waits until the server has it.
    uint showAndWait(const QString &title, const QVariantMap &userInfo, const QString &body = QStringLiteral("a body"))
    {
        const qsizetype before = server.shown.size();
        notifications.show(title, body, userInfo);
        if (!QTest::qWaitFor([&] { return server.shown.size() > before; }, waitMs))
            return 0;
        // The answer to Notify travels back before any later signal does.
        return server.shown.constLast().id;
    }

    BusPeer serverPeer{QStringLiteral("notification-server")};
    NotificationServer server{serverPeer.bus()};
    DesktopNotifications notifications;
    QSignalSpy taps{&notifications, &DesktopNotifications::tapped};
};

// Notify carries the texts as text, a default action and the instant message
// sound. Then ignored events come first and a real tap last: the bus keeps
// their order, so a single tap seen with the last user info shows the others
// were ignored.
TEST_F(DesktopNotificationsTest, NotifyCarriesTextsAndOnlyTheServersDefaultActionOnOneOfOurOpenNotificationsIsATap)
{
    ASSERT_TRUE(server.start());
    const QVariantMap first{{"type", "partner_status_changed"}, {"personId", "p1"}};
    const QVariantMap second{{"personId", "p2"}};
    const uint firstId =
        showAndWait(QStringLiteral("Quil is home"), first, QStringLiteral("<a href=\"https://evil.example\">win</a> & <b>more</b>"));
    ASSERT_NE(firstId, 0u);
    const ShownNotification &shown = server.shown.constFirst();
    EXPECT_EQ(shown.appName, u"vorlie");
    EXPECT_EQ(shown.replacesId, 0u);
    EXPECT_EQ(shown.summary, u"Quil is home");
    // Shown as text, never as markup.
    EXPECT_EQ(shown.body, u"&lt;a href=&quot;https://evil.example&quot;&gt;win&lt;/a&gt; &amp; &lt;b&gt;more&lt;/b&gt;");
    ASSERT_EQ(shown.actions.size(), 2);
    EXPECT_EQ(shown.actions.constFirst(), u"default");
    EXPECT_FALSE(shown.actions.constLast().isEmpty()) << "the action needs a label";
    EXPECT_EQ(shown.expireTimeout, -1);
    EXPECT_EQ(shown.hints.value(QStringLiteral("sound-name")).toString(), u"message-new-instant");

    const uint secondId = showAndWait(QStringLiteral("second"), second);
    ASSERT_NE(secondId, 0u);

    BusPeer forger(QStringLiteral("forger"));
    QDBusMessage forged = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                     QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("ActionInvoked"));
    forged.setArguments({firstId, QStringLiteral("default")});
    forger.bus().send(forged);
    forger.sync();
    server.invokeAction(secondId + 100, QStringLiteral("default"));
    server.invokeAction(firstId, QStringLiteral("reply"));
    server.invokeAction(secondId, QStringLiteral("default"));
    ASSERT_TRUE(waitForCount(taps, 1));
    ASSERT_EQ(taps.size(), 1);
    EXPECT_EQ(taps.constFirst().constFirst().toMap(), second);

    // A repeated tap, and a tap on a closed notification, count for nothing.
    const QVariantMap third{{"personId", "p3"}, {"count", 3}};
    const uint thirdId = showAndWait(QStringLiteral("third"), third);
    ASSERT_NE(thirdId, 0u);
    server.invokeAction(secondId, QStringLiteral("default"));
    server.close(firstId);
    server.invokeAction(firstId, QStringLiteral("default"));
    server.invokeAction(thirdId, QStringLiteral("default"));
    ASSERT_TRUE(waitForCount(taps, 2));
    ASSERT_EQ(taps.size(), 2);
    EXPECT_EQ(taps.constLast().constFirst().toMap(), third);
}

TEST_F(DesktopNotificationsTest, WithoutAServerShowDoesNothingAndStaysQuietUntilOneOwnsItsName)
{
    const LogCapture log;
    EXPECT_FALSE(notifications.isServerPresent());
    notifications.show(QStringLiteral("lost"), QStringLiteral("nobody listens"), {{"personId", "lost"}});
    // A round trip behind it on the same connection: the call's error answer is in by then.
    QDBusConnection::sessionBus().interface()->isServiceRegistered(QStringLiteral("org.freedesktop.Notifications"));
    QCoreApplication::processEvents();

    ASSERT_TRUE(server.start());
    EXPECT_TRUE(notifications.isServerPresent());
    const uint id = showAndWait(QStringLiteral("found"), {{"personId", "found"}});
    ASSERT_NE(id, 0u);
    EXPECT_EQ(server.shown.size(), 1);
    server.invokeAction(id, QStringLiteral("default"));
    ASSERT_TRUE(waitForCount(taps, 1));
    EXPECT_EQ(taps.constFirst().constFirst().toMap().value("personId"), QStringLiteral("found"));

    DesktopNotifications detached(QDBusConnection(QStringLiteral("never-connected")));
    EXPECT_FALSE(detached.isServerPresent());
    detached.show(QStringLiteral("t"), QStringLiteral("b"), {});
    EXPECT_TRUE(log.lines().isEmpty()) << log.lines().join(u'\n').toStdString();
}

} // namespace
