#include "DomainFixtures.h"
#include "domain/Connection.h"
#include "domain/User.h"

#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::test;

namespace {

const char *const flags[] = {"notifyStatusReminder", "notifyPartnerStatusChanged", "notifyAutomationStatusChanged"};

QJsonObject connectionJson()
{
    return QJsonObject{{"id", "c1"}, {"state", "accepted"}, {"person", userJson()}, {"createdAt", "2026-01-02T03:04:05Z"},
                       {"acceptedAt", "2026-01-03T03:04:05+01:00"}};
}

const QJsonObject mainPersonJson{{"connectionId", "c1"}, {"person", userJson()}, {"selectedAt", "2026-02-03T04:05:06Z"}};

} // namespace

TEST(UserCoding, RoundTripsAndWritesAMinimalUser)
{
    const User full = *decode<User>(fullUserJson());
    EXPECT_EQ(roundTrip(full), full);
    const auto user = decode<User>(userJson());
    ASSERT_TRUE(user);
    EXPECT_EQ(user->id, QStringLiteral("u1"));
    EXPECT_EQ(user->createdAt, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC));
    EXPECT_EQ(JsonCodec<User>::encode(*user).toObject().value("createdAt"), QJsonValue("2026-01-02T03:04:05Z"));
}

TEST(UserCoding, RequiredOptionalAndBadKeys)
{
    expectRequired<User>(userJson(), {"id", "displayName", "avatar", "createdAt"});
    expectOptional<User>(fullUserJson(), {"username", "email", "locale", "timezone", "lastStatusAt"});
    EXPECT_FALSE(decode<User>(with(userJson(), "lastStatusAt", "yesterday")));
    EXPECT_FALSE(decode<User>(with(userJson(), "avatar", without(avatarJson(), "outfit"))));
    EXPECT_FALSE(decode<User>(with(userJson(), "createdAt", "2026-01-02T03:04:05.123Z")));
    EXPECT_FALSE(decode<User>(with(userJson(), "createdAt", "2026-01-02T03:04:05")));
}

TEST(UserCoding, NotificationFlagsAreOnUnlessExplicitlyFalse)
{
    const auto one = decode<User>(with(userJson(), "notifyStatusReminder", false));
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->notifyStatusReminder);
    EXPECT_TRUE(one->notifyPartnerStatusChanged && one->notifyAutomationStatusChanged);
    for (const char *key : flags) {
        SCOPED_TRACE(key);
        // Absent or null switches a flag back on.
        for (const QJsonObject &json : {without(fullUserJson(), key), with(fullUserJson(), key, QJsonValue::Null)}) {
            const auto user = decode<User>(json);
            ASSERT_TRUE(user);
            EXPECT_EQ(JsonCodec<User>::encode(*user).toObject().value(QLatin1StringView(key)), QJsonValue(true));
        }
    }
}

TEST(ConnectionCoding, DecodesRoundTripsAndRefusesBadValues)
{
    const auto connection = decode<Connection>(connectionJson());
    ASSERT_TRUE(connection);
    EXPECT_EQ(connection->state, ConnectionState::accepted);
    EXPECT_EQ(connection->person.displayName, QStringLiteral("Ada"));
    // An offset is read as the same instant in UTC.
    EXPECT_EQ(connection->acceptedAt, QDateTime(QDate(2026, 1, 3), QTime(2, 4, 5), Qt::UTC));
    EXPECT_EQ(roundTrip(*connection), connection);
    EXPECT_EQ(JsonCodec<Connection>::encode(*connection).toObject().value("acceptedAt"), QJsonValue("2026-01-03T02:04:05Z"));

    expectRequired<Connection>(connectionJson(), {"id", "state", "person", "createdAt"});
    expectOptional<Connection>(connectionJson(), {"acceptedAt"});
    for (const char *state : {"Accepted", "declined", ""})
        EXPECT_FALSE(decode<Connection>(with(connectionJson(), "state", state))) << state;
    EXPECT_FALSE(decode<Connection>(with(connectionJson(), "person", without(userJson(), "id"))));
}

TEST(MainPersonCoding, SelectedTimeIsOptionalAndANullMainPersonInsideARecordEqualsMissing)
{
    const auto chosen = decode<MainPerson>(mainPersonJson);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->selectedAt, QDateTime(QDate(2026, 2, 3), QTime(4, 5, 6), Qt::UTC));
    EXPECT_EQ(roundTrip(*chosen), chosen);
    EXPECT_EQ(JsonCodec<MainPerson>::encode(*chosen).toObject().value("connectionId"), QJsonValue("c1"));
    expectRequired<MainPerson>(mainPersonJson, {"connectionId", "person"});
    expectOptional<MainPerson>(mainPersonJson, {"selectedAt"});

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
