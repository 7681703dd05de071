// The main window over the real service client, in each state the session
// can be in, with its settings sheet and its status picker; and a sign-in
// done with the keyboard alone (what a refused one says: the sign-in
// presenter's suite).
#include "ScreenServices.h"
#include "ScreenWindow.h"
#include "StatusPickerPresenter.h"
#include "domain/StatusCatalog.h"
#include "repositories/sample/SampleData.h"
#include "support/AppStackFixture.h"
#include "views/ViewWorld.h"

#include <QAccessible>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

using namespace vorlie;
using namespace vorlie::testing;

namespace {


QByteArray syncBody(const SyncSnapshot &snapshot)
{
    return QJsonDocument(QJsonObject{{"data", JsonCodec<SyncSnapshot>::encode(snapshot)}}).toJson(QJsonDocument::Compact);
}

bool loadingShown(QQuickItem *picker) { return !shownWith(picker, QAccessible::Indicator).isEmpty(); }
bool sectionShown(QQuickItem *picker, const char *titleKey) { return !shownWith(picker, QAccessible::Heading, qtTrId(titleKey)).isEmpty(); }
bool chipShown(QQuickItem *picker, const QString &key)
{
    return !shownWith(picker, QAccessible::Button, BuiltInStatusCatalog::localizedText(key)).isEmpty();
}

} // namespace

class MainWindowStatesTest : public AppStackFixture {
protected:
    void SetUp() override { QAccessible::setActive(true); }

    void showSignedInWith(const fake::ScriptedReply &syncReply)
    {
        service().scriptAlways("GET", QStringLiteral("sync"), syncReply);
        signIn();
        QCoro::connect(store->bootstrap(), store.get(), [] {});
        ASSERT_TRUE(screen.awaitShown(QStringLiteral("changeStatusButton")));
    }

    bool syncDone() { return ViewWorld::spinUntil([&] { return store->lastSyncedAt() || store->lastSyncError(); }); }

    ScreenServices services{prefsDir.path(), *store, dependencies(), host.rootUrl()};
    UiRoot ui{services.parts};
    ScreenWindow screen{ui, mainWindow};
    SyncSnapshot world = sample::data().snapshot;
};

// The program compiles the window it opens at start while it builds its
// services: made before that compile has ended, the window is whole.
TEST_F(MainWindowStatesTest, AWindowCompiledAheadShowsTheSessionLikeAnyOther)
{
    auto views = std::make_unique<ViewEngine>();
    views->compileAhead(mainWindow);
    UiRoot compiledAhead{services.parts, std::move(views)};
    const ScreenWindow ahead{compiledAhead, mainWindow};
    ASSERT_TRUE(ahead);
    showSignedInWith(reply(200, syncBody(world)));
    ASSERT_TRUE(ahead.awaitShown(QStringLiteral("changeStatusButton")));
    ASSERT_TRUE(syncDone());
    EXPECT_TRUE(screen.shows(displayText(*world.mainPersonStatus)));
    EXPECT_TRUE(ahead.shows(displayText(*world.mainPersonStatus)));
}

// A failed sync waits in the banner for a retry; the answer to it shows a
// connection the service no longer lists as none, and an expired status as none.
TEST_F(MainWindowStatesTest, AFailedSyncShowsItsMessageUntilARetryWhoseAnswerIsShown)
{
    showSignedInWith(reply(429, errorEnvelope("RATE_LIMITED", "slow down")));
    ASSERT_TRUE(syncDone());
    QQuickItem *banner = screen.find(QStringLiteral("syncErrorBanner"));
    ASSERT_TRUE(shownOnScreen(banner));
    EXPECT_TRUE(screen.shows(store->lastSyncError()->userMessage()));

    world.connections.clear();
    world.mainPersonStatus->isExpired = true;
    service().scriptAlways("GET", QStringLiteral("sync"), reply(200, syncBody(world)));
    QQuickItem *retry = screen.find(QStringLiteral("bannerActionButton"));
    ASSERT_TRUE(retry);
    QMetaObject::invokeMethod(retry, "clicked");
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return !shownOnScreen(banner); }));
    EXPECT_FALSE(store->lastSyncError());
    EXPECT_TRUE(screen.shows(qtTrId("connection.state.none")));
    EXPECT_TRUE(screen.shows(qtTrId("home.no_status")));
    EXPECT_FALSE(screen.shows(displayText(*world.mainPersonStatus)));
}

TEST_F(MainWindowStatesTest, BeforeTheFirstSyncAnswersThereIsNoOwnAvatarOnlyTheTexts)
{
    showSignedInWith(delayedServiceAnswer(500ms));
    EXPECT_FALSE(store->currentUser());
    EXPECT_FALSE(shownOnScreen(screen.find(QStringLiteral("ownAvatar"))));
    EXPECT_TRUE(screen.shows(qtTrId("home.you")));
    EXPECT_TRUE(screen.shows(qtTrId("home.no_status")));
    ASSERT_TRUE(screen.awaitShown(QStringLiteral("ownAvatar")));
}

TEST_F(MainWindowStatesTest, SigningInWithTheKeyboardAloneReachesTheMainWindow)
{
    resultOf(store->bootstrap());
    QQuickWindow *window = screen.get();
    ASSERT_TRUE(window);
    // Return goes on to the password, Tab from there to the sign-in button; Space presses it.
    ASSERT_TRUE(screen.typeSignIn(QStringLiteral("quorrin@example.com"), QStringLiteral("vorlie-demo")));
    QTest::keyClick(window, Qt::Key_Tab);
    QQuickItem *signIn = screen.find(QStringLiteral("signInButton"));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return signIn->hasActiveFocus(); }));
    QTest::keyClick(window, Qt::Key_Space);

    ASSERT_TRUE(screen.awaitShown(QStringLiteral("changeStatusButton"))); // push and the session: the presenter's suite

    // Signed out again: a fresh form, back at the e-mail with nothing typed.
    resultOf(store->signOut());
    QQuickItem *freshEmail = screen.awaitShown(QStringLiteral("emailField"));
    ASSERT_TRUE(freshEmail);
    EXPECT_TRUE(freshEmail->property("text").toString().isEmpty());
    EXPECT_FALSE(shownOnScreen(screen.find(QStringLiteral("passwordField"))));
    EXPECT_TRUE(freshEmail->hasActiveFocus());
}

// Each switch sends its own field alone, turns at once and keeps the value
// the service confirmed. (The language picker: the AT-SPI walk; a language
// changed while the window is up: the screens' keyring case.)
TEST_F(MainWindowStatesTest, EachSwitchOfTheSettingsSheetChangesItsOwnField)
{
    showSignedInWith(delayedServiceAnswer(0ms));
    ASSERT_TRUE(syncDone());
    services.router.setSettingsPresented(true);
    const struct {
        const char *objectName;
        const char *field;
        bool User::*stored;
    } switches[] = {
        {"partnerStatusSwitch", "notifyPartnerStatusChanged", &User::notifyPartnerStatusChanged},
        {"statusReminderSwitch", "notifyStatusReminder", &User::notifyStatusReminder},
        {"automationStatusSwitch", "notifyAutomationStatusChanged", &User::notifyAutomationStatusChanged},
    };
    for (const auto &s : switches) {
        SCOPED_TRACE(s.objectName);
        QQuickItem *control = screen.awaitShown(QString::fromLatin1(s.objectName));
        ASSERT_TRUE(control);
        const bool before = control->property("checked").toBool();
        EXPECT_EQ(before, *store->currentUser().*s.stored);
        service().clearRecords();
        QMetaObject::invokeMethod(control, "clicked");
        EXPECT_EQ(control->property("checked").toBool(), !before);
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return service().requestCount(QStringLiteral("me")) == 1; }));
        const QJsonObject body = QJsonDocument::fromJson(service().requests(QStringLiteral("me")).first().body).object();
        EXPECT_EQ(body, (QJsonObject{{QString::fromLatin1(s.field), !before}}));
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return *store->currentUser().*s.stored == !before && !store->isSyncing(); }));
        EXPECT_EQ(control->property("checked").toBool(), !before);
    }
}

// The picker while its catalogue is slow and then fails: the loading state
// first, never empty sections, then the built-in chips under the service's
// message. (A catalogue that arrives: the picker model's and the picker view's suites.)
TEST_F(MainWindowStatesTest, ASlowCatalogueShowsThePickersLoadingStateThenTheBuiltInChipsOnFailure)
{
    showSignedInWith(delayedServiceAnswer(0ms));
    services.languages.setSelection(AppLanguage::german);
    ui.appearance().setColorScheme(Appearance::ColorScheme::dark);
    service().scriptAlways("GET", QStringLiteral("status/catalog"), reply(503, errorEnvelope("MAINTENANCE", "Back soon"), 500ms));
    services.router.setStatusPickerPresented(true);
    QQuickItem *picker = screen.find(QStringLiteral("statusPicker"));
    ASSERT_TRUE(picker);
    auto *presenter = picker->findChild<StatusPickerPresenter *>();
    ASSERT_TRUE(presenter);
    QSignalSpy loading(presenter, &StatusPickerPresenter::isLoadingChanged);
    QSignalSpy inserted(presenter->sections(), &StatusSectionList::rowsInserted);

    EXPECT_TRUE(presenter->isLoading());
    EXPECT_EQ(presenter->sections()->rowCount(), 0);
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return loadingShown(picker); })); // once the sheet is up
    EXPECT_FALSE(sectionShown(picker, "status_picker.mood")) << "an empty section while the catalogue loads";
    EXPECT_FALSE(chipShown(picker, QStringLiteral("tired")));
    const qreal loadingHeight = picker->implicitHeight();

    ASSERT_TRUE(ViewWorld::spinUntil([&] { return chipShown(picker, QStringLiteral("tired")); }));
    EXPECT_FALSE(loadingShown(picker));
    for (const char *section : {"status_picker.mood", "status_picker.activity", "status_picker.location",
                                "status_picker.relationship"})
        EXPECT_TRUE(sectionShown(picker, section)) << section;
    EXPECT_FALSE(sectionShown(picker, "status_picker.favorites")) << "the built-in catalogue carries no favourites";
    for (const BuiltInStatusCatalog::Entry &entry : BuiltInStatusCatalog::entries())
        EXPECT_EQ(shownWith(picker, QAccessible::Button, BuiltInStatusCatalog::localizedText(entry.key)).size(), 1) << entry.key.toStdString();
    EXPECT_EQ(presenter->errorMessage(), QStringLiteral("Back soon"));
    EXPECT_TRUE(showsText(picker, QStringLiteral("Back soon")));
    EXPECT_EQ(loading.count(), 1);
    // Each of the four categories told on its own.
    EXPECT_EQ(presenter->sections()->rowCount(), 4);
    EXPECT_EQ(inserted.count(), 4);
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return picker->implicitHeight() > loadingHeight; })) << "not grown to its chips";
}

// A button that shows only a symbol says its name under a resting pointer.
TEST_F(MainWindowStatesTest, ASymbolButtonSaysItsNameUnderARestingPointer)
{
    showSignedInWith(reply(200, syncBody(world)));
    QQuickItem *settings = screen.find(QStringLiteral("settingsButton"));
    ASSERT_TRUE(settings);
    QTest::mouseMove(screen.get(), settings->mapToScene(QPointF(settings->width() / 2, settings->height() / 2)).toPoint());
    EXPECT_TRUE(ViewWorld::spinUntil([&] {
        return !shownItems(screen.get()->contentItem(), [](QQuickItem *item) {
            return item->inherits("QQuickText") && item->property("text").toString() == qtTrId("tab.settings");
        }).isEmpty();
    })) << "no tooltip";
}
