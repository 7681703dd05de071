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
#include <QSignalSpy>

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
    void commitAndWait(const QString &key)
    {
        ASSERT_TRUE(resultOf(model->commit(key)));
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

TEST_F(StatusPickerViewModelTest, TheCatalogueIsTheServicesWithItsFavouritesOrTheBuiltInOne)
{
    ASSERT_EQ(model->catalog().size(), 21u);
    EXPECT_EQ(model->catalog().front().key, tired);
    EXPECT_FALSE(model->errorMessage());
    EXPECT_FALSE(model->isLoading());
    EXPECT_EQ(keysOf(model->favoriteItems()),
              (QStringList{"miss_you", "love_you", "working", "home"})); // catalogue order, not the service's set order
    EXPECT_EQ(keysOf(model->itemsInCategory(StatusCategory::location)), (QStringList{"out", "home", "on_my_way"}));
    EXPECT_TRUE(model->itemsInCategory(StatusCategory::custom).empty());

    // A service error's text shows (the picker's view tests read it); any other failure shows none.
    breakTheTokenRefresh();
    makeModel();
    EXPECT_EQ(model->catalog(), BuiltInStatusCatalog::items({}));
    EXPECT_FALSE(model->errorMessage());
}

TEST_F(StatusPickerViewModelTest, ACommitShowsItsStatusAtOnceRefusesASecondMeanwhileAndItsAnswerOutlivesThePicker)
{
    const Status before = *store->ownStatus();
    QSignalSpy own(store.get(), &SessionStore::ownStatusChanged);
    service().script("PUT", QStringLiteral("status/me"), delayedServiceAnswer(400ms));

    EXPECT_TRUE(resultOf(model->commit(tired)));
    EXPECT_TRUE(model->isSubmitting());
    const auto optimistic = store->ownStatus();
    ASSERT_TRUE(isPending(optimistic));
    EXPECT_EQ(optimistic->statusKey, tired);
    EXPECT_EQ(optimistic->text, QStringLiteral("Tired"));
    EXPECT_EQ(optimistic->visualState, StatusVisualState::sleepy);
    EXPECT_EQ(optimistic->category, StatusCategory::mood);
    EXPECT_EQ(optimistic->source, StatusSource::manual);
    EXPECT_FALSE(optimistic->isExpired);

    EXPECT_FALSE(resultOf(model->commit(QStringLiteral("home"))));
    EXPECT_EQ(store->ownStatus(), optimistic);

    model.reset();
    ASSERT_TRUE(spinUntil([this] { return !isPending(store->ownStatus()); }));
    EXPECT_NE(store->ownStatus()->id, before.id);
    EXPECT_EQ(store->ownStatus()->statusKey, tired);
    EXPECT_EQ(own.count(), 2); // the optimistic status, then the service's
    const auto sent = service().requests(QStringLiteral("status/me"));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(QJsonDocument::fromJson(sent.first().body).object().value("source").toString(), QStringLiteral("manual"));
}

// Only the picker's own optimistic status is withdrawn, and a sync mends
// what the service holds; a status that replaced it meanwhile is newer than both.
TEST_F(StatusPickerViewModelTest, AFailedCommitPutsThePreviousStatusBackAndSyncsUnlessANewerOneReplacedIt)
{
    const struct {
        const char *meanwhile;
        std::function<void()> happen;
        bool restored;
    } cases[] = {
        {"nothing", [] {}, true},
        {"the picker closed", [this] { model.reset(); }, true},
        {"another window's status",
         [this] {
             Status newer = *store->ownStatus();
             newer.id = QStringLiteral("01FROMANOTHERWINDOW00000000");
             store->setOwnStatus(newer);
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.meanwhile);
        if (!model)
            makeModel();
        const auto before = store->ownStatus();
        const int syncs = service().requestCount(QStringLiteral("sync"));
        service().script("PUT", QStringLiteral("status/me"), failing(300ms));
        ASSERT_TRUE(resultOf(model->commit(tired)));
        EXPECT_FALSE(model->errorMessage()) << "the last failure's text outlived a new commit";
        c.happen();
        const auto meanwhile = store->ownStatus();
        // A mending sync starts before the picker hears of the failure.
        ASSERT_TRUE(spinUntil([&] {
            return (!model || !model->isSubmitting()) && !store->isSyncing()
                && service().requestCount(QStringLiteral("sync")) == syncs + int(c.restored);
        }));
        EXPECT_EQ(store->ownStatus(), c.restored ? before : meanwhile);
        EXPECT_TRUE(!model || model->errorMessage() == QStringLiteral("Something broke."));
    }

    // A failure that is not a classified service error gets the generic text.
    breakTheTokenRefresh();
    commitAndWait(tired);
    EXPECT_EQ(model->errorMessage(), qtTrId("status_picker.update_failed"));
    EXPECT_FALSE(isPending(store->ownStatus()));
}

TEST_F(StatusPickerViewModelTest, RecentKeysPutTheNewestFirstWithoutRepeatsKeepSixAndKeepWhatOthersWrote)
{
    recents().setTextList(prefkeys::recentStatusKeys(), {"custom", "home", "retired_key"});
    makeModel();
    EXPECT_EQ(model->recentKeys(), (QStringList{"custom", "home", "retired_key"}));
    EXPECT_EQ(keysOf(model->recentItems()), QStringList{"home"}); // only keys with a catalogue item show

    commitAndWait(QStringLiteral("home"));
    EXPECT_EQ(storedRecents(), (QStringList{"home", "custom", "retired_key"}));
    recents().setTextList(prefkeys::recentStatusKeys(), {"gym", "bored"}); // by another picker window
    for (const char *key : {"tired", "busy", "hungry", "out", "studying"})
        commitAndWait(QString::fromLatin1(key));
    const QStringList newest{"studying", "out", "hungry", "busy", "tired", "gym"};
    EXPECT_EQ(model->recentKeys(), newest);
    EXPECT_EQ(storedRecents(), newest);
}

TEST_F(StatusPickerViewModelTest, CustomTextIsSentTrimmedAndBlankTextNotAtAll)
{
    model->setCustomText(QStringLiteral(" \n\t  \n"));
    EXPECT_FALSE(resultOf(model->submitCustom()));
    EXPECT_FALSE(model->isSubmitting());
    EXPECT_TRUE(model->recentKeys().isEmpty());

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

// A star turns at once. One request of a key is out at a time; its answer
// sends the newest wish when that differs from what it carried, and a
// refusal turns the star back and drops the wishes made meanwhile.
TEST_F(StatusPickerViewModelTest, FavouritesGoOutOneAtATimeAndTheLastWishWinsUnlessRefused)
{
    const StatusCatalogItem item = model->catalog().front();
    ASSERT_EQ(item.key, tired);
    ASSERT_FALSE(item.isFavorite);
    const auto message = model->errorMessage();
    const struct {
        fake::ScriptedReply answer;
        int toggles; // in a row, while the first request is out
        QList<QByteArray> sent;
        bool favourite; // on the star and at the service once all is answered
    } cases[] = {
        {failing(200ms), 1, {"POST"}, false},
        {failing(200ms), 2, {"POST"}, false},
        {delayedServiceAnswer(300ms), 1, {"POST"}, true}, // afresh after a refusal
        {delayedServiceAnswer(300ms), 2, {"DELETE", "POST"}, true},
        {delayedServiceAnswer(300ms), 3, {"DELETE"}, false}, // back to what is on its way
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(::testing::Message() << c.toggles << " toggles, " << c.answer.status);
        const qsizetype before = service().requests(favoritesOfTired).size();
        const auto sent = [&] {
            QList<QByteArray> methods;
            for (const auto &request : service().requests(favoritesOfTired).mid(before))
                methods.append(request.method);
            return methods;
        };
        service().scriptAlways("POST", favoritesOfTired, c.answer);
        service().scriptAlways("DELETE", favoritesOfTired, c.answer);
        const bool shown = *favoriteFlag(model->catalog(), tired);
        for (int i = 0; i < c.toggles; ++i)
            model->toggleFavorite(item);
        EXPECT_EQ(favoriteFlag(model->catalog(), tired), shown != (c.toggles % 2 == 1));
        EXPECT_FALSE(spinUntil([&] { return sent().size() > 1; }, 150ms)) << "a second request while one is out";
        ASSERT_TRUE(spinUntil([&] { return sent().size() == c.sent.size(); }));
        EXPECT_FALSE(spinUntil([&] { return sent().size() > c.sent.size(); }, 500ms)) << "sent after the last wish";
        EXPECT_EQ(sent(), c.sent);
        EXPECT_EQ(favoriteFlag(model->catalog(), tired), c.favourite);
        EXPECT_EQ(serviceFavorite(tired), c.favourite);
        service().clearScripts();
    }
    EXPECT_EQ(model->errorMessage(), message);
}
