#include "AppRouter.h"
#include "CustomStatusText.h"
#include "HomePresenter.h"
#include "StatusPickerPresenter.h"
#include "ViewChecks.h"
#include "ViewWorld.h"

#include <QSignalSpy>
#include <algorithm>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

SyncSnapshot sampleWith(const std::function<void(SyncSnapshot &)> &change)
{
    SyncSnapshot snapshot = sample::data().snapshot;
    change(snapshot);
    return snapshot;
}

class HomePresenterTest : public ::testing::Test {
protected:
    ViewWorld world;
    HomePresenter home{world.ui.services()};
};

TEST_F(HomePresenterTest, SignedOutShowsNobodyAndNoOwnStatus)
{
    EXPECT_FALSE(home.hasMainPerson());
    EXPECT_FALSE(home.hasCurrentUser());
    EXPECT_FALSE(home.showsStatus());
    EXPECT_EQ(home.mainVisualState(), "neutral");
    EXPECT_EQ(home.ownStatusText(), "No status");
}

TEST_F(HomePresenterTest, MainPersonWithStatusShowsTextEmojiMoodAndUpdatedLabel)
{
    world.signIn();
    const sample::SampleData &data = sample::data();
    EXPECT_TRUE(home.hasMainPerson());
    EXPECT_EQ(home.mainPersonName(), data.partner.displayName);
    EXPECT_TRUE(home.showsStatus());
    EXPECT_EQ(home.statusEmoji(), data.partnerStatus.emoji.value_or(QString()));
    EXPECT_EQ(home.mainVisualState(), rawValue(data.partnerStatus.visualState));
    EXPECT_FALSE(home.updatedLabel().isEmpty());
    EXPECT_TRUE(home.panelAvatarURL().query().contains("size=88")) << home.panelAvatarURL().toString().toStdString();
    EXPECT_TRUE(home.cardAvatarURL().query().contains("size=184"));
    EXPECT_TRUE(home.ownAvatarURL().query().contains("size=72"));
}

TEST_F(HomePresenterTest, TheUpdatedLabelCountsToTheClocksNowAndNeverLiesAhead)
{
    world.now = QDateTime(QDate(2031, 3, 14), QTime(9, 30), Qt::UTC);
    world.signIn();
    const struct {
        qint64 secondsBeforeNow; // negative: a service clock ahead of ours
        AppLanguage language;
        const char *label;
    } cases[] = {
        {5, AppLanguage::english, "5 sec. ago"},
        {-5, AppLanguage::german, "jetzt"}, // the wording's own edges: the label's suite
        {90 * 60, AppLanguage::german, "vor 1 Std."},
    };
    for (const auto &c : cases) {
        world.languages.setSelection(c.language);
        world.sync.snapshot.mainPersonStatus->createdAt = world.now.addSecs(-c.secondsBeforeNow);
        resultOf(world.store.refresh());
        EXPECT_EQ(home.updatedLabel(), QString::fromUtf8(c.label)) << c.secondsBeforeNow;
    }
}

TEST_F(HomePresenterTest, ExpiredStatusReadsAsNoStatusButKeepsItsMood)
{
    world.signIn(sampleWith([](SyncSnapshot &s) {
        s.mainPersonStatus->isExpired = true;
        s.mainPersonStatus->visualState = StatusVisualState::sad;
        s.ownStatus->isExpired = true;
    }));
    EXPECT_FALSE(home.showsStatus());
    EXPECT_TRUE(home.statusText().isEmpty());
    EXPECT_TRUE(home.statusEmoji().isEmpty());
    EXPECT_TRUE(home.updatedLabel().isEmpty());
    EXPECT_EQ(home.mainVisualState(), "sad");
    EXPECT_EQ(home.ownStatusText(), "No status");
}

TEST_F(HomePresenterTest, NoStatusIsNeutralAndOwnStatusWithoutEmojiHasNoLeadingSpace)
{
    world.signIn(sampleWith([](SyncSnapshot &s) {
        s.mainPersonStatus.reset();
        s.ownStatus->emoji.reset();
        s.ownStatus->statusKey = QStringLiteral("custom");
        s.ownStatus->text = QStringLiteral("At the lake");
    }));
    EXPECT_FALSE(home.showsStatus());
    EXPECT_EQ(home.mainVisualState(), "neutral");
    EXPECT_EQ(home.ownStatusText(), "At the lake");
}

TEST_F(HomePresenterTest, OwnStatusWithEmojiLeadsWithItAndOneSpace)
{
    world.signIn(sampleWith([](SyncSnapshot &s) {
        s.ownStatus->emoji = QStringLiteral("🌙");
        s.ownStatus->statusKey = QStringLiteral("tired");
    }));
    EXPECT_EQ(home.ownStatusText(), QStringLiteral("🌙 ") + BuiltInStatusCatalog::localizedText(QStringLiteral("tired")));
}

TEST_F(HomePresenterTest, ConnectionRowReadsConnectedOnlyForAnAcceptedConnection)
{
    const auto withState = [](std::optional<ConnectionState> state) {
        return sampleWith([state](SyncSnapshot &s) {
            s.connections.clear();
            if (state)
                s.connections.push_back(Connection{s.mainPerson->connectionId, *state, s.mainPerson->person, {}, {}});
        });
    };
    world.signIn(withState(ConnectionState::accepted));
    EXPECT_TRUE(home.connectionAccepted());
    EXPECT_EQ(home.connectionText(), "Connected");

    world.signIn(withState(ConnectionState::pending));
    EXPECT_FALSE(home.connectionAccepted());
    EXPECT_EQ(home.connectionText(), "Invitation pending");

    world.signIn(withState(ConnectionState::blocked));
    EXPECT_EQ(home.connectionText(), "Not connected");

    world.signIn(withState(std::nullopt));
    EXPECT_FALSE(home.connectionAccepted());
    EXPECT_EQ(home.connectionText(), "Not connected");
}

TEST_F(HomePresenterTest, NotifiesOnlyOnARealChangeAndFollowsTheLanguage)
{
    world.signIn();
    const HomePresenter::State before = home.state();
    QSignalSpy changed(&home, &HomePresenter::changed);
    resultOf(world.store.refresh()); // the same answer again: only the sync indicator came and went
    EXPECT_EQ(home.state(), before);
    EXPECT_EQ(changed.count(), 2);
    changed.clear();

    world.languages.setSelection(AppLanguage::german);
    EXPECT_GE(changed.count(), 1);
    EXPECT_EQ(home.connectionText(), "Verbunden");
}

TEST_F(HomePresenterTest, AFailedSyncKeepsThePeopleAndShowsTheErrorsMessageUntilASyncSucceeds)
{
    world.signIn();
    world.sync.failure = APIError::server(QStringLiteral("MAINTENANCE"), QStringLiteral("<b>Back soon</b>"), 503);
    resultOf(world.store.refresh());
    EXPECT_EQ(home.syncErrorMessage(), "<b>Back soon</b>");
    EXPECT_TRUE(home.hasMainPerson());

    world.sync.failure = APIError::offline();
    resultOf(world.store.refresh());
    EXPECT_EQ(home.syncErrorMessage(), APIError::offline().userMessage());

    world.sync.failure.reset();
    resultOf(world.store.refresh());
    EXPECT_TRUE(home.syncErrorMessage().isEmpty());
}

TEST_F(HomePresenterTest, TheOfflineLineTellsTheAgeOfWhatIsShownOnlyWhileTheServiceCannotBeReached)
{
    world.signIn();
    const QDateTime lastGood = *world.store.dataAsOf();
    const struct {
        std::optional<APIError> failure;
        AppLanguage language;
        qint64 minutesLater;
        const char *line;
    } rows[] = {
        {APIError::offline(), AppLanguage::english, 5, "Offline · updated 5 min. ago"},
        {APIError::timeout(), AppLanguage::german, 180, "Offline · aktualisiert vor 3 Std."},
        {APIError::unauthorized(), AppLanguage::english, 5, ""},
        {APIError::rateLimited(), AppLanguage::english, 5, ""},
        {APIError::offline(), AppLanguage::german, 0, "Offline · aktualisiert vor 0 Sek."},
        {std::nullopt, AppLanguage::english, 5, ""},
    };
    for (const auto &row : rows) {
        world.languages.setSelection(row.language);
        world.sync.failure = row.failure;
        world.now = lastGood.addSecs(row.minutesLater * 60);
        resultOf(world.store.refresh());
        EXPECT_EQ(home.offlineText(), QString::fromUtf8(row.line)) << row.minutesLater;
    }
}

class StatusPickerPresenterTest : public ::testing::Test {
protected:
    QStringList sectionKeys()
    {
        QStringList keys;
        for (const StatusSection &section : picker.sections()->rows())
            keys << section.key;
        return keys;
    }
    std::vector<StatusChip> chipsOf(const QString &sectionKey)
    {
        for (const StatusSection &section : picker.sections()->rows()) {
            if (section.key == sectionKey)
                return section.chips;
        }
        return {};
    }

    ViewWorld world;
    StatusPickerPresenter picker{world.ui.services()};
};

TEST_F(StatusPickerPresenterTest, WithoutRecentsOrFavouritesTheFirstSectionIsMoodAndCustomNeverShows)
{
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isLoading(); }));
    for (const StatusChip &chip : chipsOf("status_picker.favorites"))
        picker.toggleFavorite(chip.key);
    const QStringList keys = sectionKeys();
    ASSERT_FALSE(keys.isEmpty());
    EXPECT_EQ(keys, (QStringList{"status_picker.mood", "status_picker.activity", "status_picker.location",
                                 "status_picker.relationship"}));
    for (const StatusSection &section : picker.sections()->rows()) {
        for (const StatusChip &chip : section.chips)
            EXPECT_NE(chip.key, "custom");
    }
}

TEST_F(StatusPickerPresenterTest, RecentsAndFavouritesComeFirstAndAChipMayShowInSeveralSections)
{
    world.signIn();
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isLoading(); }));
    const QString key = chipsOf("status_picker.mood").front().key;
    picker.toggleFavorite(key);
    picker.choose(key);
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isSubmitting(); }));
    EXPECT_EQ(sectionKeys().mid(0, 3),
              (QStringList{"status_picker.recent", "status_picker.favorites", "status_picker.mood"}));
    EXPECT_EQ(chipsOf("status_picker.recent").front().key, key);
    EXPECT_TRUE(chipsOf("status_picker.favorites").front().isFavorite);
}

TEST_F(StatusPickerPresenterTest, AFavouriteToggledChangesItsChipInPlaceAndItsSectionComesAndGoes)
{
    world.signIn();
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isLoading(); }));
    for (const StatusChip &chip : chipsOf("status_picker.favorites"))
        picker.toggleFavorite(chip.key);
    StatusSectionList *sections = picker.sections();
    const auto mood = std::find_if(sections->rows().begin(), sections->rows().end(),
                                   [](const StatusSection &section) { return section.key == "status_picker.mood"; });
    ASSERT_NE(mood, sections->rows().end());
    StatusChipList *moodChips = mood->list;
    const QString key = moodChips->rows().at(1).key;
    QSignalSpy chipChanged(moodChips, &QAbstractItemModel::dataChanged);
    QSignalSpy chipsRelaid(moodChips, &QAbstractItemModel::modelReset);
    QSignalSpy sectionAdded(sections, &QAbstractItemModel::rowsInserted);
    QSignalSpy sectionRemoved(sections, &QAbstractItemModel::rowsRemoved);
    QSignalSpy sectionsRelaid(sections, &QAbstractItemModel::modelReset);

    for (const bool favourite : {true, false}) {
        SCOPED_TRACE(favourite);
        picker.toggleFavorite(key);
        ASSERT_FALSE(chipChanged.isEmpty());
        EXPECT_EQ(chipChanged.takeLast().at(0).toModelIndex().row(), 1);
        EXPECT_TRUE(chipChanged.isEmpty()) << "only the toggled chip changes";
        EXPECT_EQ(moodChips->rows().at(1).isFavorite, favourite);
        EXPECT_EQ(sectionKeys().contains("status_picker.favorites"), favourite);
    }
    EXPECT_EQ(sectionAdded.count(), 1);
    EXPECT_EQ(sectionRemoved.count(), 1);
    EXPECT_EQ(chipsRelaid.count() + sectionsRelaid.count(), 0);
}

TEST_F(StatusPickerPresenterTest, ChoosingReportsSavedOnceAndTheStoreShowsTheStatusAtOnce)
{
    world.signIn();
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isLoading(); }));
    QSignalSpy saved(&picker, &StatusPickerPresenter::saved);
    const auto shown = world.recordOwnStatusKeys();
    picker.choose(QStringLiteral("tired"));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return saved.count() > 0; }));
    EXPECT_EQ(saved.count(), 1);
    ASSERT_FALSE(shown->isEmpty());
    EXPECT_EQ(shown->first(), "tired") << "the optimistic status comes first";
}

TEST_F(StatusPickerPresenterTest, CustomTextIsCutAtSixtyCharactersAndBlankTextSendsNothing)
{
    picker.setCustomText(QString(80, u'x'));
    EXPECT_EQ(picker.customText(), QString(60, u'x'));

    picker.setCustomText(QStringLiteral("   \t "));
    EXPECT_FALSE(picker.showsSendButton());
    QSignalSpy saved(&picker, &StatusPickerPresenter::saved);
    picker.submitCustom();
    QCoreApplication::processEvents();
    EXPECT_EQ(saved.count(), 0);

    picker.setCustomText(QStringLiteral(" hi "));
    EXPECT_TRUE(picker.showsSendButton());
}

TEST(CustomStatusTextTest, EmojiFlagsAndFamiliesCountAsOneCharacterAndAreNeverCut)
{
    const QString family = QStringLiteral("👨‍👩‍👧‍👦");
    const QString flag = QStringLiteral("🇩🇪");
    EXPECT_EQ(graphemeCount(family), 1);
    EXPECT_EQ(graphemeCount(flag + family + QStringLiteral("é")), 3);

    const QString text = QString(59, u'a') + family + flag;
    EXPECT_EQ(limitGraphemes(text, 60), QString(59, u'a') + family);
    EXPECT_EQ(limitGraphemes(QStringLiteral("short"), 60), "short");
    EXPECT_TRUE(hasSendableText(QStringLiteral("\n")));
    EXPECT_FALSE(hasSendableText(QStringLiteral(" \t")));
}

TEST(AppRouterTest, RoutesChangeOnlyWhatTheyNameAndNotifyOnlyOnChange)
{
    AppRouter router;
    QSignalSpy tab(&router, &AppRouter::activeTabChanged);
    QSignalSpy person(&router, &AppRouter::focusedPersonIdChanged);

    router.open(app_route::Person{QString()});
    EXPECT_EQ(person.count(), 0);
    EXPECT_EQ(tab.count(), 0);

    router.open(app_route::Person{QStringLiteral("usr_quil")});
    router.open(app_route::Person{QStringLiteral("usr_quil")});
    EXPECT_EQ(router.focusedPersonId(), "usr_quil");
    EXPECT_EQ(router.activeTab(), AppRouter::AppTab::people);
    EXPECT_EQ(person.count(), 1);
    EXPECT_EQ(tab.count(), 1);

    router.open(app_route::Invite{QStringLiteral("ABC")});
    EXPECT_EQ(router.pendingInviteCode(), "ABC");
    router.open(app_route::StatusPicker{});
    router.open(app_route::Settings{});
    EXPECT_TRUE(router.isStatusPickerPresented());
    EXPECT_TRUE(router.isSettingsPresented());
    router.open(app_route::Home{});
    EXPECT_EQ(router.activeTab(), AppRouter::AppTab::home);
}

} // namespace
} // namespace vorlie::testing
