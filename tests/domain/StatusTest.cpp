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
    const Status expected{QStringLiteral("s1"), QStringLiteral("tired"), QStringLiteral("Tired"), QString::fromUtf16(u"\U0001F4A4"),
                          StatusCategory::mood, StatusVisualState::sleepy, StatusSource::manual,
                          QDateTime(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC), StatusFreshness::fresh, false};
    EXPECT_EQ(decode<Status>(statusJson()), expected);
    EXPECT_EQ(JsonCodec<Status>::encode(expected).toObject(), statusJson());
}

TEST(StatusCoding, RequiredOptionalAndUnlistedValues)
{
    expectRequired<Status>(statusJson(), {"id", "category", "visualState", "source", "createdAt", "freshness", "isExpired"});
    expectOptional<Status>(statusJson(), {"statusKey", "text", "emoji"});
    for (const auto &[key, value] : {std::pair{"visualState", "grumpy"}, {"category", "weather"}, {"source", "calendar"},
                                     {"freshness", "old"}, {"createdAt", "2026-12-01T08:00:00.5Z"}})
        EXPECT_FALSE(decode<Status>(with(statusJson(), key, value))) << key;
}

TEST(StatusCoding, EqualityCoversEveryFieldAndServiceJudgementsAreKept)
{
    const Status base = *decode<Status>(statusJson());
    // A status the service calls stale and expired stays so, however recent it looks.
    const auto judged = decode<Status>(with(with(statusJson(), "freshness", "stale"), "isExpired", true));
    ASSERT_TRUE(judged);
    EXPECT_EQ(judged->freshness, StatusFreshness::stale);
    EXPECT_TRUE(judged->isExpired);
    EXPECT_EQ(roundTrip(*judged), judged);
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

    expectRequired<StatusCatalogItem>(itemJson(), {"key", "text", "category", "visualState", "isFavorite"});
    expectOptional<StatusCatalogItem>(itemJson(), {"emoji"});
    EXPECT_FALSE(decode<StatusCatalogItem>(with(itemJson(), "category", "Mood")));
    EXPECT_FALSE(decode<StatusCatalogItem>(with(itemJson(), "visualState", "unknown")));
}
