// Reading a notification's user information and the identifiers of locally
// made statuses. The device token's text is the push registration's to check.
#include "push/PendingID.h"
#include "push/PushNotificationPayload.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vorlie;

TEST(PushNotificationPayload, OnlyAKnownTypeMakesAPayloadAndIdsMustBeTexts)
{
    const auto payload = PushNotificationPayload::fromUserInfo(
        {{"type", "partner_status_changed"}, {"personId", "01P"}, {"statusId", 42}, {"connectionId", "01C"}});
    ASSERT_TRUE(payload.has_value());
    EXPECT_EQ(payload->kind, PushNotificationKind::partnerStatusChanged);
    EXPECT_EQ(payload->personId, QStringLiteral("01P"));
    EXPECT_FALSE(payload->statusId.has_value()) << "a number is not an id";
    EXPECT_EQ(payload->connectionId, QStringLiteral("01C"));

    EXPECT_FALSE(PushNotificationPayload::fromUserInfo({{"type", 1}}).has_value());
    EXPECT_FALSE(PushNotificationPayload::fromUserInfo({{"personId", "01P"}}).has_value());
    for (const char *raw : {"reaction_received", "connection_requested", "connection_accepted", "status_reminder"})
        EXPECT_TRUE(PushNotificationPayload::fromUserInfo({{"type", raw}}).has_value()) << raw;
}

TEST(PendingID, TimePartOrdersAndRandomPartDiffers)
{
    static const QRegularExpression form(QStringLiteral("^[0-9A-HJKMNP-TV-Z]{26}$"));
    const QDateTime now = QDateTime::fromMSecsSinceEpoch(1'765'000'000'123, Qt::UTC);
    const QString a = makePendingID(now);
    const QString b = makePendingID(now);
    EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
    EXPECT_EQ(a.left(10), b.left(10));
    EXPECT_NE(a.mid(10), b.mid(10));
    EXPECT_LT(a.left(10), makePendingID(now.addMSecs(1)).left(10));
    EXPECT_EQ(makePendingID(QDateTime::fromMSecsSinceEpoch(0, Qt::UTC)).left(10), QStringLiteral("0000000000"));
    EXPECT_EQ(makePendingID(QDateTime::fromMSecsSinceEpoch(33, Qt::UTC)).left(10), QStringLiteral("0000000011"));
}
