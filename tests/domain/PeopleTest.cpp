#include "DomainFixtures.h"
#include "domain/Connection.h"
#include "domain/User.h"

#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::test;

namespace {

const char *const flags[] = {"notifyStatusReminder", "notifyPartnerStatusChanged", "notifyAutomationStatusChanged"};
const char *const optionalUserKeys[] = {"username", "email", "locale", "timezone", "lastStatusAt"};

User fullUser()
{
    User u;
    u.id = QStringLiteral("u1");
    u.displayName = QStringLiteral("Zoë 😀");
    u.username = QStringLiteral("zoe");
    u.avatar.accessory = Accessory::beanie;
    u.email = QStringLiteral("zoe@example.test");
    u.locale = QStringLiteral("de");
    u.timezone = QStringLiteral("Europe/Berlin");
    u.notifyStatusReminder = false;
    u.notifyPartnerStatusChanged = true;
    u.notifyAutomationStatusChanged = false;
    u.lastStatusAt = QDateTime(QDate(2026, 5, 6), QTime(7, 8, 9), Qt::UTC);
    u.createdAt = QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5), Qt::UTC);
    return u;
}

QJsonObject connectionJson()
{
    return QJsonObject{{"id", "c1"}, {"state", "accepted"}, {"person", userJson()}, {"createdAt", "2026-01-02T03:04:05Z"},
                       {"acceptedAt", "2026-01-03T03:04:05+01:00"}};
}

} // namespace

TEST(UserCoding, RoundTripsEveryField)
{
    EXPECT_EQ(roundTrip(fullUser()), fullUser());
}

TEST(UserCoding, MinimalUserDecodesAndIsWrittenBackWithoutItsOptionalKeys)
{
    const auto user = decode<User>(userJson());
    ASSERT_TRUE(user);
    EXPECT_EQ(user->id, QStringLiteral("u1"));
    EXPECT_EQ(user->createdAt, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC));
    EXPECT_FALSE(user->username || user->email || user->locale || user->timezone || user->lastStatusAt);

    const QJsonObject written = JsonCodec<User>::encode(*user).toObject();
    for (const char *key : optionalUserKeys)
        EXPECT_FALSE(written.contains(QLatin1StringView(key))) << key;
    for (const char *key : flags)
        EXPECT_EQ(written.value(QLatin1StringView(key)), QJsonValue(true)) << key;
    EXPECT_EQ(written.value("createdAt"), QJsonValue("2026-01-02T03:04:05Z"));
}

TEST(UserCoding, OptionalKeysAcceptNullButNotOtherTypes)
{
    for (const char *key : optionalUserKeys) {
        SCOPED_TRACE(key);
        EXPECT_TRUE(decode<User>(with(userJson(), key, QJsonValue::Null)));
        EXPECT_FALSE(decode<User>(with(userJson(), key, 5)));
        EXPECT_FALSE(decode<User>(with(userJson(), key, QJsonObject{})));
    }
    EXPECT_FALSE(decode<User>(with(userJson(), "lastStatusAt", "yesterday")));
}

TEST(UserCoding, NotificationFlagsAreOnUnlessExplicitlyFalse)
{
    const auto absent = decode<User>(userJson());
    ASSERT_TRUE(absent);
    EXPECT_TRUE(absent->notifyStatusReminder && absent->notifyPartnerStatusChanged && absent->notifyAutomationStatusChanged);

    const auto one = decode<User>(with(userJson(), "notifyStatusReminder", false));
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->notifyStatusReminder);
    EXPECT_TRUE(one->notifyPartnerStatusChanged && one->notifyAutomationStatusChanged);

    for (const char *key : flags) {
        SCOPED_TRACE(key);
        const auto null = decode<User>(with(userJson(), key, QJsonValue::Null));
        ASSERT_TRUE(null);
        EXPECT_EQ(JsonCodec<User>::encode(*null).toObject().value(QLatin1StringView(key)), QJsonValue(true));
        EXPECT_FALSE(decode<User>(with(userJson(), key, "false")));
        EXPECT_FALSE(decode<User>(with(userJson(), key, 0)));
        EXPECT_FALSE(decode<User>(with(userJson(), key, 1)));
    }
}

TEST(UserCoding, RequiredKeysFailTheRecord)
{
    for (const char *key : {"id", "displayName", "avatar", "createdAt"}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(decode<User>(without(userJson(), key)));
        EXPECT_FALSE(decode<User>(with(userJson(), key, QJsonValue::Null)));
    }
    EXPECT_FALSE(decode<User>(with(userJson(), "id", 42)));
    EXPECT_FALSE(decode<User>(with(userJson(), "avatar", "warm_1")));
    EXPECT_FALSE(decode<User>(with(userJson(), "avatar", without(avatarJson(), "outfit"))));
    EXPECT_FALSE(decode<User>(with(userJson(), "createdAt", "2026-01-02T03:04:05.123Z")));
    EXPECT_FALSE(decode<User>(with(userJson(), "createdAt", "2026-01-02T03:04:05")));
}

TEST(ConnectionCoding, DecodesAndRoundTrips)
{
    const auto connection = decode<Connection>(connectionJson());
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->state, ConnectionState::accepted);
    EXPECT_EQ(connection->person.displayName, QStringLiteral("Ada"));
    // An offset is read as the same instant in UTC.
    EXPECT_EQ(connection->acceptedAt, QDateTime(QDate(2026, 1, 3), QTime(2, 4, 5), Qt::UTC));
    EXPECT_EQ(roundTrip(*connection), connection);
    EXPECT_EQ(JsonCodec<Connection>::encode(*connection).toObject().value("acceptedAt"), QJsonValue("2026-01-03T02:04:05Z"));
}

TEST(ConnectionCoding, NullAcceptedTimeMeansNotAccepted)
{
    const auto pending = decode<Connection>(with(with(connectionJson(), "acceptedAt", QJsonValue::Null), "state", "pending"));
    ASSERT_TRUE(pending);
    EXPECT_FALSE(pending->acceptedAt);
    EXPECT_FALSE(JsonCodec<Connection>::encode(*pending).toObject().contains("acceptedAt"));
}

TEST(ConnectionCoding, BadStateOrPersonFailsTheConnection)
{
    for (const char *state : {"Accepted", "declined", ""})
        EXPECT_FALSE(decode<Connection>(with(connectionJson(), "state", state))) << state;
    EXPECT_FALSE(decode<Connection>(with(connectionJson(), "person", without(userJson(), "id"))));
    for (const char *key : {"id", "state", "person", "createdAt"})
        EXPECT_FALSE(decode<Connection>(without(connectionJson(), key))) << key;
}

TEST(MainPersonCoding, SelectedTimeIsOptional)
{
    const QJsonObject json{{"connectionId", "c1"}, {"person", userJson()}};
    const auto main = decode<MainPerson>(json);
    ASSERT_TRUE(main);
    EXPECT_FALSE(main->selectedAt);
    const QJsonObject written = JsonCodec<MainPerson>::encode(*main).toObject();
    EXPECT_EQ(written.value("connectionId"), QJsonValue("c1"));
    EXPECT_FALSE(written.contains("selectedAt"));
    EXPECT_EQ(decode<MainPerson>(with(json, "selectedAt", QJsonValue::Null)), main);

    MainPerson chosen = *main;
    chosen.selectedAt = QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6), Qt::UTC);
    EXPECT_EQ(roundTrip(chosen), chosen);
    EXPECT_NE(chosen, *main);
    EXPECT_FALSE(decode<MainPerson>(without(json, "connectionId")));
    EXPECT_FALSE(decode<MainPerson>(with(json, "person", QJsonValue::Null)));
}

TEST(MainPersonCoding, NullMainPersonInsideARecordEqualsMissing)
{
    std::optional<MainPerson> fromNull = MainPerson{};
    std::optional<MainPerson> fromMissing = MainPerson{};
    const ParsedJson withNull = ParsedJson::parse(R"({"mainPerson": null})");
    const ParsedJson empty = ParsedJson::parse("{}");
    const ParsedJson withEmptyObject = ParsedJson::parse(R"({"mainPerson": {}})");
    EXPECT_TRUE(json::readOptional(withNull.root(), QLatin1StringView("mainPerson"), fromNull));
    EXPECT_TRUE(json::readOptional(empty.root(), QLatin1StringView("mainPerson"), fromMissing));
    EXPECT_EQ(fromNull, std::nullopt);
    EXPECT_EQ(fromMissing, std::nullopt);
    EXPECT_FALSE(json::readOptional(withEmptyObject.root(), QLatin1StringView("mainPerson"), fromNull));
}
