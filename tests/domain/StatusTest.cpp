#include "DomainFixtures.h"
#include "domain/Status.h"
#include "domain/StatusCatalogItem.h"

#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::test;

namespace {

QJsonObject itemJson()
{
    return parseObject(R"({"key":"tired","text":"Tired","emoji":"💤","category":"mood","visualState":"sleepy","isFavorite":true})");
}

} // namespace

TEST(StatusCoding, DecodesEveryFieldAsSent)
{
    const auto s = decode<Status>(statusJson());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->id, QStringLiteral("s1"));
    EXPECT_EQ(s->statusKey, QStringLiteral("tired"));
    EXPECT_EQ(s->text, QStringLiteral("Tired"));
    EXPECT_EQ(s->emoji, QString::fromUtf16(u"\U0001F4A4"));
    EXPECT_EQ(s->category, StatusCategory::mood);
    EXPECT_EQ(s->visualState, StatusVisualState::sleepy);
    EXPECT_EQ(s->source, StatusSource::manual);
    EXPECT_EQ(s->createdAt, QDateTime(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC));
    EXPECT_EQ(s->freshness, StatusFreshness::fresh);
    EXPECT_FALSE(s->isExpired);
    EXPECT_EQ(JsonCodec<Status>::encode(*s).toObject(), statusJson());
}

TEST(StatusCoding, ServiceJudgementsAreKeptEvenWhenTheyLookInconsistent)
{
    // A week-old status the service still calls fresh stays fresh here.
    const auto s = decode<Status>(with(with(statusJson(), "freshness", "stale"), "isExpired", true));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->freshness, StatusFreshness::stale);
    EXPECT_TRUE(s->isExpired);
    EXPECT_EQ(roundTrip(*s), s);
}

TEST(StatusCoding, MissingOrNullKeyTextAndEmojiAreLeftOut)
{
    for (const char *key : {"statusKey", "text", "emoji"}) {
        SCOPED_TRACE(key);
        for (const QJsonObject &json : {without(statusJson(), key), with(statusJson(), key, QJsonValue::Null)}) {
            const auto s = decode<Status>(json);
            ASSERT_TRUE(s);
            EXPECT_FALSE(JsonCodec<Status>::encode(*s).toObject().contains(QLatin1StringView(key)));
            EXPECT_EQ(roundTrip(*s), s);
        }
        EXPECT_FALSE(decode<Status>(with(statusJson(), key, 3)));
    }
}

TEST(StatusCoding, AnyUnlistedOrMistypedValueFailsTheStatus)
{
    EXPECT_FALSE(decode<Status>(with(statusJson(), "visualState", "grumpy")));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "category", "weather")));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "source", "calendar")));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "freshness", "old")));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "isExpired", "false")));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "isExpired", 0)));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "id", 1)));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "createdAt", "2026-12-01T08:00:00.5Z")));
    EXPECT_FALSE(decode<Status>(with(statusJson(), "createdAt", 1764576000)));
    for (const char *key : {"id", "category", "visualState", "source", "createdAt", "freshness", "isExpired"}) {
        EXPECT_FALSE(decode<Status>(without(statusJson(), key))) << key;
        EXPECT_FALSE(decode<Status>(with(statusJson(), key, QJsonValue::Null))) << key;
    }
}

TEST(StatusCoding, EqualityCoversEveryField)
{
    const Status base = *decode<Status>(statusJson());
    EXPECT_NE(*decode<Status>(with(statusJson(), "isExpired", true)), base);
    EXPECT_NE(*decode<Status>(with(statusJson(), "emoji", "x")), base);
    EXPECT_NE(*decode<Status>(with(statusJson(), "createdAt", "2026-12-01T08:00:01Z")), base);
    // The same instant written with an offset is the same status.
    EXPECT_EQ(*decode<Status>(with(statusJson(), "createdAt", "2026-12-01T09:00:00+01:00")), base);
}

TEST(CatalogItemCoding, RoundTripsAndRefusesBadValues)
{
    const auto item = decode<StatusCatalogItem>(itemJson());
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->isFavorite);
    EXPECT_EQ(JsonCodec<StatusCatalogItem>::encode(*item).toObject(), itemJson());

    const auto noEmoji = decode<StatusCatalogItem>(with(itemJson(), "emoji", QJsonValue::Null));
    ASSERT_TRUE(noEmoji);
    EXPECT_FALSE(JsonCodec<StatusCatalogItem>::encode(*noEmoji).toObject().contains("emoji"));

    for (const char *key : {"key", "text", "category", "visualState", "isFavorite"})
        EXPECT_FALSE(decode<StatusCatalogItem>(without(itemJson(), key))) << key;
    EXPECT_FALSE(decode<StatusCatalogItem>(with(itemJson(), "isFavorite", QJsonValue::Null)));
    EXPECT_FALSE(decode<StatusCatalogItem>(with(itemJson(), "category", "Mood")));
    EXPECT_FALSE(decode<StatusCatalogItem>(with(itemJson(), "visualState", "unknown")));
}
