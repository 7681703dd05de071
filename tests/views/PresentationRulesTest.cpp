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

class HomePresenterTest : public ::testing::Test {
protected:
    ViewWorld world;
    HomePresenter home{{world.store, world.router, world.screen.lookup, world.languages, world.host.rootUrl(),
                        [this] { return world.now; }}};
};

TEST_F(HomePresenterTest, ThePeopleAndStatusesShownFollowTheSyncedSnapshot)
{
    // A missing connection reads as a blocked one: the main window's suite.
    const struct {
        const char *what;
        std::function<void(SyncSnapshot &)> change; // none: signed out
        bool status;
        const char *mood, *own, *connection;
    } rows[] = {
        {"signed out", nullptr, false, "neutral", "No status", ""},
        {"expired statuses keep their mood",
         [](SyncSnapshot &s) {
             s.connections.front().state = ConnectionState::pending;
             s.mainPersonStatus->isExpired = true;
             s.mainPersonStatus->visualState = StatusVisualState::sad;
             s.ownStatus->isExpired = true;
         },
         false, "sad", "No status", "Invitation pending"},
        {"no status, own without emoji",
         [](SyncSnapshot &s) {
             s.connections.front().state = ConnectionState::blocked;
             s.mainPersonStatus.reset();
             s.ownStatus->emoji.reset();
             s.ownStatus->statusKey = QStringLiteral("custom");
             s.ownStatus->text = QStringLiteral("At the lake");
         },
         false, "neutral", "At the lake", "Not connected"},
        {"own with emoji",
         [](SyncSnapshot &s) {
             s.ownStatus->emoji = QStringLiteral("🌙");
             s.ownStatus->statusKey = QStringLiteral("tired");
         },
         true, "", "🌙 Tired", "Connected"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        if (row.change) {
            SyncSnapshot snapshot = sample::data().snapshot;
            row.change(snapshot);
            world.signIn(snapshot);
        }
        EXPECT_EQ(home.hasMainPerson(), bool(row.change));
        EXPECT_EQ(home.hasCurrentUser(), bool(row.change));
        EXPECT_EQ(home.showsStatus(), row.status);
        EXPECT_EQ(home.statusEmoji().isEmpty() && home.updatedLabel().isEmpty() && home.statusText().isEmpty(), !row.status);
        EXPECT_EQ(home.connectionAccepted(), home.connectionText() == "Connected");
        EXPECT_EQ(home.connectionText(), QString::fromUtf8(row.connection));
        EXPECT_TRUE(!*row.mood || home.mainVisualState() == row.mood) << home.mainVisualState().toStdString();
        EXPECT_TRUE(!*row.own || home.ownStatusText() == QString::fromUtf8(row.own)) << home.ownStatusText().toStdString();
    }
    const sample::SampleData &data = sample::data();
    EXPECT_EQ(home.mainPersonName(), data.partner.displayName);
    EXPECT_EQ(home.statusEmoji(), data.partnerStatus.emoji.value_or(QString()));
    EXPECT_EQ(home.mainVisualState(), rawValue(data.partnerStatus.visualState));
    EXPECT_TRUE(home.panelAvatarURL().query().contains("size=88")) << home.panelAvatarURL().toString().toStdString();
    EXPECT_TRUE(home.cardAvatarURL().query().contains("size=184"));
    EXPECT_TRUE(home.ownAvatarURL().query().contains("size=72"));
}

TEST_F(HomePresenterTest, OnlyRealChangesNotifyAndTheUpdatedLabelCountsToTheClocksNowInTheChosenLanguage)
{
    world.now = QDateTime(QDate(2031, 3, 14), QTime(9, 30), Qt::UTC);
    world.signIn();
    const HomePresenter::State before = home.state();
    QSignalSpy changed(&home, &HomePresenter::changed);
    resultOf(world.store.refresh()); // the same answer again: only the sync indicator came and went
    EXPECT_EQ(home.state(), before);
    EXPECT_EQ(changed.count(), 2);
    world.languages.setSelection(AppLanguage::german);
    EXPECT_GE(changed.count(), 3);
    EXPECT_EQ(home.connectionText(), "Verbunden");

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

// A failed sync keeps the people and says why until a sync succeeds; only an
// unreachable service adds the age of what is shown.
TEST_F(HomePresenterTest, AFailedSyncShowsItsMessageAndTheOfflineLineOnlyWhileTheServiceCannotBeReached)
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
        {APIError::server(QStringLiteral("MAINTENANCE"), QStringLiteral("<b>Back soon</b>"), 503), AppLanguage::english, 5, ""},
        {APIError::unauthorized(), AppLanguage::english, 5, ""},
        {APIError::offline(), AppLanguage::german, 0, "Offline · aktualisiert vor 0 Sek."},
        {std::nullopt, AppLanguage::english, 5, ""},
    };
    for (const auto &row : rows) {
        world.languages.setSelection(row.language);
        world.sync.failure = row.failure;
        world.now = lastGood.addSecs(row.minutesLater * 60);
        resultOf(world.store.refresh());
        EXPECT_EQ(home.offlineText(), QString::fromUtf8(row.line)) << row.minutesLater;
        EXPECT_EQ(home.syncErrorMessage(), row.failure ? row.failure->userMessage() : QString());
        EXPECT_TRUE(home.hasMainPerson());
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
    const StatusSection *section(const QString &key)
    {
        const auto &rows = picker.sections()->rows();
        const auto found = std::find_if(rows.begin(), rows.end(), [&](const StatusSection &s) { return s.key == key; });
        return found == rows.end() ? nullptr : &*found;
    }

    ViewWorld world;
    StatusPickerPresenter picker{{world.statuses, world.store, world.screen.standard, world.screen.lookup}};
};

// Without favourites or recents the mood section leads; once there are some,
// recents and then favourites come first.
TEST_F(StatusPickerPresenterTest, MoodLeadsUntilRecentsAndFavouritesComeFirst)
{
    world.signIn();
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isLoading(); }));
    if (const StatusSection *favourites = section("status_picker.favorites")) {
        for (const StatusChip &chip : std::vector<StatusChip>(favourites->list->rows()))
            picker.toggleFavorite(chip.key);
    }
    EXPECT_EQ(sectionKeys(), (QStringList{"status_picker.mood", "status_picker.activity", "status_picker.location",
                                          "status_picker.relationship"}));
    for (const StatusSection &s : picker.sections()->rows()) {
        for (const StatusChip &chip : s.list->rows())
            EXPECT_NE(chip.key, "custom");
    }

    // That a toggle keeps the chip's item: the picker view's focus check.
    const QString key = section("status_picker.mood")->list->rows().at(1).key;
    picker.toggleFavorite(key);
    picker.choose(key);
    ASSERT_TRUE(ViewWorld::spinUntil([this] { return !picker.isSubmitting(); }));
    EXPECT_EQ(sectionKeys().mid(0, 3), (QStringList{"status_picker.recent", "status_picker.favorites", "status_picker.mood"}));
    EXPECT_EQ(section("status_picker.recent")->list->rows().front().key, key);
    EXPECT_TRUE(section("status_picker.favorites")->list->rows().front().isFavorite);
}

TEST(CustomStatusTextTest, EmojiFlagsAndFamiliesCountAsOneCharacterAndAreNeverCut)
{
    const QString family = QStringLiteral("👨‍👩‍👧‍👦");
    const QString flag = QStringLiteral("🇩🇪");
    EXPECT_EQ(graphemeCount(flag + family + QStringLiteral("é")), 3);
    EXPECT_EQ(limitGraphemes(QString(59, u'a') + family + flag, 60), QString(59, u'a') + family);
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
    EXPECT_EQ(person.count() + tab.count(), 0);

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
    EXPECT_TRUE(router.isStatusPickerPresented() && router.isSettingsPresented());
    router.open(app_route::Home{});
    EXPECT_EQ(router.activeTab(), AppRouter::AppTab::home);
}

} // namespace
} // namespace vorlie::testing
