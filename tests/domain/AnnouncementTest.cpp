#include "DomainFixtures.h"
#include "domain/Announcement.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vorlie;
using namespace vorlie::test;

using Announcements = std::vector<Announcement>;

TEST(AnnouncementCoding, ListDecodesAndRoundTripsAndOneBadAnnouncementFailsTheWholeList)
{
    const auto list = decodeJson<Announcements>(parse(R"([{"id":"a1","type":"alert","message":"Maintenance at 22:00"}])"));
    ASSERT_TRUE(list);
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ(list->front(), (Announcement{QStringLiteral("a1"), Announcement::Kind::alert, QStringLiteral("Maintenance at 22:00")}));
    EXPECT_EQ(decodeJson<Announcements>(JsonCodec<Announcements>::encode(*list)), list);
    EXPECT_EQ(decodeJson<Announcements>(parse("[]")), Announcements{});

    // Mistyped fields of a single record: the hostile input suite.
    EXPECT_FALSE(decodeJson<Announcements>(
        parse(R"([{"id":"a1","type":"info","message":"ok"},{"id":"a2","type":"critical","message":"x"}])")));
    EXPECT_FALSE(decodeJson<Announcements>(parse(R"([{"id":"a1","type":"info"}])")));
    EXPECT_FALSE(decodeJson<Announcements>(parse(R"([{"type":"info","message":"x"}])")));
    EXPECT_FALSE(decodeJson<Announcements>(parse(R"([{"id":"a1","type":null,"message":"x"}])")));
    EXPECT_FALSE(decodeJson<Announcements>(parse(R"({"id":"a1","type":"info","message":"x"})")));
}
