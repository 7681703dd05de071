// The status picker model over the real status repository, the real session
// store and the local fake service: the catalogue and its fallback, recent
// keys in the preference file, favourites that reach the service one at a
// time, and optimistic publishing with its failure mend.
#include "support/AppStackFixture.h"

#include "prefs/PreferenceKeys.h"
#include "prefs/StandardDefaults.h"
#include "viewmodels/StatusPickerViewModel.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

const QString tired = QStringLiteral("tired");
const QString favoritesOfTired = QStringLiteral("status/favorites/tired");

fake::ScriptedReply failing(std::chrono::milliseconds delay = 0ms)
{
    return reply(500, errorEnvelope("INTERNAL", "Something broke."), delay);
}

bool isPending(const std::optional<Status> &status)
{
    return status && status->id.startsWith(u"pending-");
}

std::optional<bool> favoriteFlag(const std::vector<StatusCatalogItem> &catalog, const QString &key)
{
    for (const StatusCatalogItem &item : catalog) {
        if (item.key == key)
            return item.isFavorite;
    }
    return std::nullopt;
}

QStringList keysOf(const std::vector<StatusCatalogItem> &items)
{
    QStringList keys;
    for (const StatusCatalogItem &item : items)
        keys.append(item.key);
    return keys;
}

} // namespace

class StatusPickerViewModelTest : public AppStackFixture {
protected:
    void SetUp() override
    {
        startSignedIn();
        ASSERT_TRUE(store->ownStatus());
        makeModel();
    }

    void makeModel()
    {
        model = std::make_unique<StatusPickerViewModel>(repositories->status, *store, recents());
        resultOf(model->loadCatalog());
    }

    StandardDefaults recents() const { return StandardDefaults(PreferencePaths::under(prefsDir.path())); }
    std::optional<QStringList> storedRecents() const { return recents().textList(prefkeys::recentStatusKeys()); }

    // Commits and waits for the service's answer.
    void commitAndWait(const QString &key, std::optional<QString> customText = std::nullopt)
    {
        ASSERT_TRUE(resultOf(model->commit(key, std::move(customText))));
        ASSERT_TRUE(spinUntil([this] { return !model->isSubmitting(); }));
    }

    // The service's own view of the favourites, through a catalogue of its own.
    std::optional<bool> serviceFavorite(const QString &key)
    {
        StatusPickerViewModel reader(repositories->status, *store, recents());
        resultOf(reader.loadCatalog());
        return favoriteFlag(reader.catalog(), key);
    }

    // Every later request of a refresh fails with a non-classified error.
    void breakTheTokenRefresh()
    {
        service().expireAccessTokens();
        service().scriptAlways("POST", QStringLiteral("auth/refresh"), reply(200, R"({"data":{}})"));
    }

    std::unique_ptr<StatusPickerViewModel> model;
};

TEST_F(StatusPickerViewModelTest, CatalogueComesFromTheServiceWithItsFavouritesAndCategories)
{
    ASSERT_EQ(model->catalog().size(), 21u);
    EXPECT_EQ(model->catalog().front().key, tired);
    EXPECT_FALSE(model->errorMessage());
    EXPECT_FALSE(model->isLoading());
    EXPECT_EQ(keysOf(model->favoriteItems()),
              (QStringList{"miss_you", "love_you", "working", "home"})); // catalogue order, not the service's set order
    EXPECT_EQ(keysOf(model->itemsInCategory(StatusCategory::location)), (QStringList{"out", "home", "on_my_way"}));
    EXPECT_TRUE(model->itemsInCategory(StatusCategory::custom).empty());
}

TEST_F(StatusPickerViewModelTest, CatalogueFailureFallsBackToTheBuiltInOne)
{
    service().script("GET", QStringLiteral("status/catalog"), failing());
    QSignalSpy loading(model.get(), &StatusPickerViewModel::isLoadingChanged);
    resultOf(model->loadCatalog());
    EXPECT_EQ(model->catalog(), BuiltInStatusCatalog::items({}));
    EXPECT_EQ(model->catalog().size(), 21u);
    EXPECT_TRUE(model->favoriteItems().empty());
    EXPECT_EQ(model->errorMessage(), QStringLiteral("Something broke."));
    EXPECT_FALSE(model->isLoading());
    EXPECT_EQ(loading.count(), 2);

    // A failure that is not a classified service error shows no message.
    breakTheTokenRefresh();
    makeModel();
    EXPECT_EQ(model->catalog().size(), 21u);
    EXPECT_FALSE(model->errorMessage());
}

TEST_F(StatusPickerViewModelTest, CommitShowsTheOptimisticStatusAtOnceAndTheServicesAfterwards)
{
    const Status before = *store->ownStatus();
    QSignalSpy own(store.get(), &SessionStore::ownStatusChanged);
    service().script("PUT", QStringLiteral("status/me"), delayedServiceAnswer(400ms));

    EXPECT_TRUE(resultOf(model->commit(tired)));
    EXPECT_TRUE(model->isSubmitting());
    const auto optimistic = store->ownStatus();
    ASSERT_TRUE(isPending(optimistic));
    static const QRegularExpression pendingShape(QStringLiteral("^pending-[0-9A-HJKMNP-TV-Z]{26}$"));
    EXPECT_TRUE(pendingShape.match(optimistic->id).hasMatch()) << optimistic->id.toStdString();
    EXPECT_EQ(optimistic->statusKey, tired);
    EXPECT_EQ(optimistic->text, QStringLiteral("Tired"));
    EXPECT_EQ(optimistic->visualState, StatusVisualState::sleepy);
    EXPECT_EQ(optimistic->category, StatusCategory::mood);
    EXPECT_EQ(optimistic->source, StatusSource::manual);
    EXPECT_FALSE(optimistic->isExpired);
    EXPECT_EQ(own.count(), 1);

    ASSERT_TRUE(spinUntil([this] { return !model->isSubmitting(); }));
    const auto published = store->ownStatus();
    ASSERT_TRUE(published);
    EXPECT_FALSE(isPending(published));
    EXPECT_NE(published->id, before.id);
    EXPECT_EQ(published->statusKey, tired);
    EXPECT_EQ(own.count(), 2);
    EXPECT_FALSE(model->errorMessage());

    const auto sent = service().requests(QStringLiteral("status/me"));
    ASSERT_EQ(sent.size(), 1);
    const QJsonObject body = QJsonDocument::fromJson(sent.first().body).object();
    EXPECT_EQ(body.value("statusKey").toString(), tired);
    EXPECT_EQ(body.value("source").toString(), QStringLiteral("manual"));
    EXPECT_FALSE(body.contains("customText"));
}

TEST_F(StatusPickerViewModelTest, SecondCommitWhileOneIsOnItsWayChangesNothing)
{
    service().script("PUT", QStringLiteral("status/me"), delayedServiceAnswer(400ms));
    ASSERT_TRUE(resultOf(model->commit(tired)));
    const auto optimistic = store->ownStatus();
    const QStringList recentKeys = model->recentKeys();
    QSignalSpy own(store.get(), &SessionStore::ownStatusChanged);

    EXPECT_FALSE(resultOf(model->commit(QStringLiteral("home"))));
    EXPECT_EQ(store->ownStatus(), optimistic);
    EXPECT_EQ(model->recentKeys(), recentKeys);
    EXPECT_EQ(storedRecents(), recentKeys);

    ASSERT_TRUE(spinUntil([this] { return !model->isSubmitting(); }));
    EXPECT_EQ(own.count(), 1); // only the service's answer to the first
    EXPECT_EQ(store->ownStatus()->statusKey, tired);
    EXPECT_EQ(service().requestCount(QStringLiteral("status/me")), 1);
}

TEST_F(StatusPickerViewModelTest, FailedCommitRestoresThePreviousStatusAndSyncs)
{
    const auto before = store->ownStatus();
    const int syncs = service().requestCount(QStringLiteral("sync"));
    service().script("PUT", QStringLiteral("status/me"), failing(200ms));

    commitAndWait(tired);
    EXPECT_EQ(store->ownStatus(), before);
    EXPECT_EQ(model->errorMessage(), QStringLiteral("Something broke."));
    ASSERT_TRUE(spinUntil([&] { return service().requestCount(QStringLiteral("sync")) == syncs + 1 && !store->isSyncing(); }));
    EXPECT_EQ(store->ownStatus(), before);

    // The next commit starts without the old message.
    service().script("PUT", QStringLiteral("status/me"), delayedServiceAnswer(200ms));
    ASSERT_TRUE(resultOf(model->commit(QStringLiteral("home"))));
    EXPECT_FALSE(model->errorMessage());
    ASSERT_TRUE(spinUntil([this] { return !model->isSubmitting(); }));

    // A failure that is not a classified service error gets the generic text.
    breakTheTokenRefresh();
    commitAndWait(tired);
    EXPECT_EQ(model->errorMessage(), qtTrId("status_picker.update_failed"));
    EXPECT_FALSE(isPending(store->ownStatus()));
}

TEST_F(StatusPickerViewModelTest, FailedCommitKeepsAStatusThatReplacedTheOptimisticOne)
{
    const int syncs = service().requestCount(QStringLiteral("sync"));
    service().script("PUT", QStringLiteral("status/me"), failing(300ms));
    ASSERT_TRUE(resultOf(model->commit(tired)));
    Status newer = *store->ownStatus();
    newer.id = QStringLiteral("01FROMANOTHERWINDOW00000000");
    store->setOwnStatus(newer);

    ASSERT_TRUE(spinUntil([this] { return !model->isSubmitting(); }));
    EXPECT_EQ(store->ownStatus(), newer);
    QTest::qWait(100); // time for a mending sync that must not come
    EXPECT_EQ(service().requestCount(QStringLiteral("sync")), syncs);
}

// The service's answer, or its refusal's mend, reaches the store after the picker is gone.
TEST_F(StatusPickerViewModelTest, TheAnswerToACommitIsKeptAfterThePickerIsGone)
{
    service().script("PUT", QStringLiteral("status/me"), delayedServiceAnswer(300ms));
    ASSERT_TRUE(resultOf(model->commit(QStringLiteral("home"))));
    ASSERT_TRUE(isPending(store->ownStatus()));
    model.reset();
    ASSERT_TRUE(spinUntil([this] { return !isPending(store->ownStatus()); }));
    EXPECT_EQ(store->ownStatus()->statusKey, QStringLiteral("home"));

    makeModel();
    const auto before = store->ownStatus();
    const int syncs = service().requestCount(QStringLiteral("sync"));
    service().script("PUT", QStringLiteral("status/me"), failing(300ms));
    ASSERT_TRUE(resultOf(model->commit(tired)));
    model.reset();
    ASSERT_TRUE(spinUntil([&] { return service().requestCount(QStringLiteral("sync")) == syncs + 1 && !store->isSyncing(); }));
    EXPECT_EQ(store->ownStatus(), before);
}

TEST_F(StatusPickerViewModelTest, RecentKeysPutTheNewestFirstWithoutRepeatsAndKeepSix)
{
    commitAndWait(tired);
    commitAndWait(QStringLiteral("home"));
    commitAndWait(tired);
    EXPECT_EQ(storedRecents(), (QStringList{"tired", "home"}));
    EXPECT_EQ(model->recentKeys(), (QStringList{"tired", "home"}));

    const QStringList more{"gym", "busy", "bored", "hungry", "out", "studying"};
    for (const QString &key : more)
        commitAndWait(key);
    commitAndWait(QStringLiteral("custom"), QStringLiteral("Baking"));
    const QStringList newest{"custom", "studying", "out", "hungry", "bored", "busy"};
    EXPECT_EQ(model->recentKeys(), newest);
    EXPECT_EQ(storedRecents(), newest);
    // "custom" takes a place but has no catalogue item to show.
    EXPECT_EQ(keysOf(model->recentItems()), (QStringList{"studying", "out", "hungry", "bored", "busy"}));
}

TEST_F(StatusPickerViewModelTest, RecentItemsSkipKeysTheCatalogueLacks)
{
    recents().setTextList(prefkeys::recentStatusKeys(), {"custom", "home", "retired_key", "tired"});
    makeModel();
    EXPECT_EQ(model->recentKeys(), (QStringList{"custom", "home", "retired_key", "tired"}));
    EXPECT_EQ(keysOf(model->recentItems()), (QStringList{"home", "tired"}));
}

TEST_F(StatusPickerViewModelTest, RecentKeysWrittenElsewhereAreKeptByTheNextCommit)
{
    commitAndWait(tired);
    recents().setTextList(prefkeys::recentStatusKeys(), {"home", "gym"});
    commitAndWait(QStringLiteral("bored"));
    EXPECT_EQ(model->recentKeys(), (QStringList{"bored", "home", "gym"}));
    EXPECT_EQ(storedRecents(), (QStringList{"bored", "home", "gym"}));
}

TEST_F(StatusPickerViewModelTest, CustomTextIsSentTrimmedAndBlankTextNothingAtAll)
{
    const auto before = store->ownStatus();
    model->setCustomText(QStringLiteral(" \n\t  \n"));
    EXPECT_FALSE(resultOf(model->submitCustom()));
    EXPECT_EQ(service().requestCount(QStringLiteral("status/me")), 0);
    EXPECT_EQ(store->ownStatus(), before);
    EXPECT_TRUE(model->recentKeys().isEmpty());
    EXPECT_FALSE(model->isSubmitting());
    EXPECT_EQ(model->customText(), QStringLiteral(" \n\t  \n"));

    service().script("PUT", QStringLiteral("status/me"), delayedServiceAnswer(200ms));
    model->setCustomText(QStringLiteral("  Baking bread\n"));
    EXPECT_TRUE(resultOf(model->submitCustom()));
    const auto optimistic = store->ownStatus();
    ASSERT_TRUE(isPending(optimistic));
    EXPECT_EQ(optimistic->text, QStringLiteral("Baking bread"));
    EXPECT_EQ(optimistic->category, StatusCategory::custom);
    EXPECT_FALSE(optimistic->emoji);
    ASSERT_TRUE(spinUntil([this] { return !model->isSubmitting(); }));
    const auto sent = service().requests(QStringLiteral("status/me"));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(QJsonDocument::fromJson(sent.first().body).object().value("customText").toString(), QStringLiteral("Baking bread"));
    EXPECT_EQ(model->customText(), QStringLiteral("  Baking bread\n"));
}

TEST_F(StatusPickerViewModelTest, RefusedFavouriteTurnsTheStarBackAndForgetsTheWish)
{
    const StatusCatalogItem item = model->catalog().front();
    ASSERT_EQ(item.key, tired);
    ASSERT_FALSE(item.isFavorite);
    const auto message = model->errorMessage();

    service().script("POST", favoritesOfTired, failing(200ms));
    model->toggleFavorite(item);
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), true);
    ASSERT_TRUE(spinUntil([this] { return favoriteFlag(model->catalog(), tired) == false; }));
    EXPECT_EQ(model->errorMessage(), message);

    // Switched off again while the refused request was on its way: that wish
    // is dropped with the refusal, no removal follows.
    service().script("POST", favoritesOfTired, failing(200ms));
    model->toggleFavorite(item);
    model->toggleFavorite(item);
    QTest::qWait(400); // the refusal comes at 200 ms; no removal may follow it
    EXPECT_EQ(service().requests(favoritesOfTired).size(), 2);
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), false);

    // The next toggle starts afresh and goes through.
    model->toggleFavorite(item);
    ASSERT_TRUE(spinUntil([this] { return service().requests(favoritesOfTired).size() == 3; }));
    EXPECT_EQ(service().requests(favoritesOfTired).last().method, QByteArray("POST"));
    EXPECT_EQ(serviceFavorite(tired), true);
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), true);
}

TEST_F(StatusPickerViewModelTest, QuickTogglesOfOneKeyGoOutOneAtATimeAndTheLastWishWins)
{
    const StatusCatalogItem item = model->catalog().front();
    ASSERT_FALSE(item.isFavorite);
    service().script("POST", favoritesOfTired, delayedServiceAnswer(300ms));
    service().script("DELETE", favoritesOfTired, delayedServiceAnswer(300ms));

    model->toggleFavorite(item); // on
    model->toggleFavorite(item); // off, while the first is on its way
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), false);
    QTest::qWait(150); // the second must not start while the first is out
    EXPECT_EQ(service().requests(favoritesOfTired).size(), 1);

    ASSERT_TRUE(spinUntil([this] { return service().requests(favoritesOfTired).size() == 2; }));
    model->toggleFavorite(item); // on again, while the removal is on its way
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), true);
    QTest::qWait(150);
    EXPECT_EQ(service().requests(favoritesOfTired).size(), 2);

    ASSERT_TRUE(spinUntil([this] { return service().requests(favoritesOfTired).size() == 3; }));
    QTest::qWait(150); // and nothing after the last wish
    QList<QByteArray> methods;
    for (const auto &request : service().requests(favoritesOfTired))
        methods.append(request.method);
    EXPECT_EQ(methods, (QList<QByteArray>{"POST", "DELETE", "POST"}));
    EXPECT_EQ(serviceFavorite(tired), true);
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), true);
}

TEST_F(StatusPickerViewModelTest, TogglesBackToTheStateOnItsWaySendNothingMore)
{
    const StatusCatalogItem item = model->catalog().front();
    service().script("POST", favoritesOfTired, delayedServiceAnswer(200ms));
    model->toggleFavorite(item);
    model->toggleFavorite(item);
    model->toggleFavorite(item);
    QTest::qWait(400); // the answer comes at 200 ms; a second request may not follow it
    EXPECT_EQ(service().requests(favoritesOfTired).size(), 1);
    EXPECT_EQ(serviceFavorite(tired), true);
    EXPECT_EQ(favoriteFlag(model->catalog(), tired), true);
}
