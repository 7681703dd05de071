// The sample world for views without the service.
#include "repositories/sample/MockRepositories.h"
#include "support/ResultOf.h"

#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

TEST(SampleRepositories, AnswerAStableSignedInWorld)
{
    MockSyncRepository sync;
    const SyncSnapshot first = *resultOf(sync.fetchSync());
    const SyncSnapshot second = *resultOf(sync.fetchSync());
    EXPECT_EQ(first, second);
    ASSERT_TRUE(first.mainPerson.has_value());
    EXPECT_EQ(first.mainPerson->person.displayName, QStringLiteral("Quil"));
    EXPECT_EQ(first.mainPersonStatus->statusKey, QStringLiteral("miss_you"));
    EXPECT_EQ(first.mainPersonStatus->createdAt.secsTo(first.serverTime), 480);
    EXPECT_EQ(first.ownStatus->statusKey, QStringLiteral("working"));
    EXPECT_EQ(first.connections.size(), 1u);

    MockStatusRepository statuses;
    const Status set = *resultOf(statuses.setStatus(QStringLiteral("custom"), QStringLiteral("anything"), StatusSource::manual));
    EXPECT_EQ(set.statusKey, QStringLiteral("working"));
    const auto catalog = *resultOf(statuses.fetchCatalog());
    EXPECT_EQ(catalog.size(), 21u);
    EXPECT_EQ(std::count_if(catalog.begin(), catalog.end(), [](const StatusCatalogItem &item) { return item.isFavorite; }), 4);
    EXPECT_TRUE(resultOf(MockAnnouncementRepository().fetchAnnouncements())->empty());
}
