// The sample world for views without the service, and the sync cache that a
// launch shows before the network answers.
#include "repositories/sample/MockRepositories.h"
#include "support/ResultOf.h"
#include "sync/SyncSnapshotCache.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
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

class SyncCache : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SharedDefaults defaults{PreferencePaths::under(dir.path())};
    SyncSnapshotCache cache{defaults};
};

TEST_F(SyncCache, ASnapshotSurvivesARestartAndSparseOnesStaySparse)
{
    SyncSnapshot snapshot = *resultOf(MockSyncRepository().fetchSync());
    cache.save(snapshot);
    EXPECT_EQ(SyncSnapshotCache(SharedDefaults(PreferencePaths::under(dir.path()))).load(), snapshot);

    snapshot.mainPerson.reset();
    snapshot.mainPersonStatus.reset();
    snapshot.ownStatus.reset();
    snapshot.connections.clear();
    cache.save(snapshot);
    EXPECT_EQ(cache.load(), snapshot);
    const QJsonObject stored = QJsonDocument::fromJson(*defaults.data(QStringLiteral("cache.syncSnapshot"))).object();
    EXPECT_EQ(stored.keys(), (QStringList{"connections", "serverTime", "user"}));
}

TEST_F(SyncCache, ACorruptEntryIsIgnoredAndKept)
{
    const QByteArray corrupt = R"({"user":{"id":"x"},"connections":[]})";
    ASSERT_TRUE(defaults.setData(QStringLiteral("cache.syncSnapshot"), corrupt));
    EXPECT_FALSE(cache.load().has_value());
    EXPECT_EQ(defaults.data(QStringLiteral("cache.syncSnapshot")), corrupt);
    cache.remove();
    // A load waits for the writer to carry the removal out.
    EXPECT_FALSE(cache.load());
    EXPECT_FALSE(defaults.data(QStringLiteral("cache.syncSnapshot")).has_value());
}
