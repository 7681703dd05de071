// The screens themselves, offscreen: every screen in German and English,
// light and dark, written as screenshots; every interactive item named for
// screen readers; the main window's states over the local fake service; and
// a sign-in done with the keyboard alone.
#include "KeyringWorld.h"
#include "ScreenServices.h"
#include "ScreenWindow.h"
#include "repositories/sample/SampleData.h"
#include "support/AppStackFixture.h"
#include "views/ViewWorld.h"

#include <QAccessible>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

const QUrl mainWindow(QStringLiteral("qrc:/Vorlie/Main/MainWindow.qml"));
const QUrl settingsWindow(QStringLiteral("qrc:/Vorlie/Settings/SettingsWindow.qml"));

QByteArray syncBody(const SyncSnapshot &snapshot)
{
    return QJsonDocument(QJsonObject{{"data", JsonCodec<SyncSnapshot>::encode(snapshot)}}).toJson(QJsonDocument::Compact);
}

} // namespace

class ScreensTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { QAccessible::setActive(true); }
};

TEST_F(ScreensTest, EveryScreenInBothLanguagesAndSchemesIsDrawnAndNamesItsControls)
{
    for (const AppLanguage language : {AppLanguage::german, AppLanguage::english}) {
        for (const bool dark : {false, true}) {
            const QString prefix = QStringLiteral("%1-%2-").arg(storedText(language), dark ? QStringLiteral("dark") : QStringLiteral("light"));
            SCOPED_TRACE(prefix.toStdString());
            ViewWorld world(language, dark ? Appearance::ColorScheme::dark : Appearance::ColorScheme::light);
            world.ui.appearance().setReduceMotion(true);
            ScreenWindow screen(world.ui, mainWindow);
            ASSERT_TRUE(screen);
            QQuickWindow *window = screen.get();
            EXPECT_EQ(window->title(), qtTrId("vorlie"));
            const auto walk = [&] { EXPECT_EQ(accessibilityFaults(*window), QStringList()); };

            screen.screenshot(prefix + QLatin1String("splash"));
            walk();

            world.signIn();
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("changeStatusButton"))); }));
            EXPECT_TRUE(screen.shows(sample::data().partner.displayName));
            EXPECT_TRUE(screen.shows(qtTrId("home.change_my_status")));
            screen.screenshot(prefix + QLatin1String("main"));
            walk();

            world.sync.failure = APIError::offline();
            resultOf(world.store.refresh());
            EXPECT_TRUE(shown(screen.find(QStringLiteral("offlineLine"))));
            walk();
            world.sync.failure = APIError::unauthorized(); // the sample session holds no tokens
            resultOf(world.store.refresh());
            EXPECT_FALSE(shown(screen.find(QStringLiteral("offlineLine"))));
            EXPECT_TRUE(screen.shows(qtTrId("home.sign_in_again")));
            walk();
            world.sync.failure.reset();
            resultOf(world.store.refresh());

            world.router.setSettingsPresented(true);
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("signOutButton"))); }));
            EXPECT_TRUE(screen.shows(qtTrId("settings.notifications")));
            screen.screenshot(prefix + QLatin1String("settings-sheet"));
            walk();
            QTest::keyClick(window, Qt::Key_Escape);
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return !world.router.isSettingsPresented(); }));

            world.router.setStatusPickerPresented(true);
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(qtTrId("status_picker.title")); }));
            screen.screenshot(prefix + QLatin1String("picker-sheet"));
            walk();
            QTest::keyClick(window, Qt::Key_Escape);
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return !world.router.isStatusPickerPresented(); }));

            // A dead session's way out: signed out, the form starts with the address.
            world.sync.failure = APIError::unauthorized();
            resultOf(world.store.refresh());
            QQuickItem *signInAgain = screen.find(QStringLiteral("bannerActionButton"));
            ASSERT_TRUE(shown(signInAgain));
            for (int tab = 0; tab < 10 && !signInAgain->hasActiveFocus(); ++tab)
                QTest::keyClick(window, Qt::Key_Tab);
            ASSERT_TRUE(signInAgain->hasActiveFocus()) << "reached with the keyboard";
            QTest::keyClick(window, Qt::Key_Return);
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("emailField"))); }));
            world.sync.failure.reset();
            EXPECT_EQ(screen.find(QStringLiteral("emailField"))->property("text").toString(), *sample::data().user.email);
            EXPECT_GE(window->height(), 560);
            screen.screenshot(prefix + QLatin1String("signin"));
            walk();
            screen.find(QStringLiteral("emailField"))->forceActiveFocus();
            QTest::keyClick(window, Qt::Key_Return);
            ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("passwordField"))); }));
            typeKeys(window, QStringLiteral("secret"));
            walk();

            ScreenWindow settings(world.ui, settingsWindow);
            ASSERT_TRUE(settings);
            EXPECT_EQ(settings.get()->size(), QSize(380, 380));
            // Signed out there is no user, so no notification switches.
            EXPECT_FALSE(settings.shows(qtTrId("settings.notifications")));
            EXPECT_TRUE(settings.shows(qtTrId("settings.general")));
            EXPECT_FALSE(shown(settings.find(QStringLiteral("signOutButton"))));
            settings.screenshot(prefix + QLatin1String("settings-window"));
            EXPECT_EQ(accessibilityFaults(*settings.get()), QStringList());
        }
    }
}

// The main window over the real service client, in each state the session can be in.
class MainWindowStatesTest : public AppStackFixture {
protected:
    void SetUp() override
    {
        QAccessible::setActive(true);
        ui.appearance().setReduceMotion(true);
    }

    void showSignedInWith(const fake::ScriptedReply &syncReply)
    {
        service().scriptAlways("GET", QStringLiteral("sync"), syncReply);
        signIn();
        QCoro::connect(store->bootstrap(), store.get(), [] {});
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("changeStatusButton"))); }));
    }

    bool syncDone() { return ViewWorld::spinUntil([&] { return store->lastSyncedAt() || store->lastSyncError(); }); }

    ScreenServices services{prefsDir.path(), *store, host.rootUrl()};
    UiRoot ui{services.parts};
    ScreenWindow screen{ui, mainWindow};
    SyncSnapshot world = sample::data().snapshot;
};

// A failed sync waits in the banner for a retry; each answer after it shows
// its connection and statuses, or the empty state without a main person.
TEST_F(MainWindowStatesTest, AFailedSyncShowsItsMessageUntilARetryAndEachAnswerItsConnectionStatusOrEmptyState)
{
    showSignedInWith(reply(429, errorEnvelope("RATE_LIMITED", "slow down")));
    ASSERT_TRUE(syncDone());
    QQuickItem *banner = screen.find(QStringLiteral("syncErrorBanner"));
    ASSERT_TRUE(shown(banner));
    EXPECT_TRUE(screen.shows(store->lastSyncError()->userMessage()));

    world.connections.clear();
    world.mainPersonStatus->isExpired = true;
    service().scriptAlways("GET", QStringLiteral("sync"), reply(200, syncBody(world)));
    QQuickItem *retry = screen.find(QStringLiteral("bannerActionButton"));
    ASSERT_TRUE(retry);
    QMetaObject::invokeMethod(retry, "clicked");
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return !shown(banner); }));
    EXPECT_FALSE(store->lastSyncError());
    EXPECT_TRUE(screen.shows(qtTrId("connection.state.none")));
    EXPECT_TRUE(screen.shows(qtTrId("home.no_status")));
    EXPECT_FALSE(screen.shows(displayText(*world.mainPersonStatus)));

    SyncSnapshot blocked = sample::data().snapshot;
    blocked.connections.front().state = ConnectionState::blocked;
    service().scriptAlways("GET", QStringLiteral("sync"), reply(200, syncBody(blocked)));
    resultOf(store->refresh());
    EXPECT_TRUE(screen.shows(qtTrId("connection.state.none")));
    EXPECT_TRUE(screen.shows(displayText(*blocked.mainPersonStatus)));
    EXPECT_FALSE(screen.shows(qtTrId("connection.state.accepted")));

    blocked.mainPerson.reset();
    blocked.mainPersonStatus.reset();
    service().scriptAlways("GET", QStringLiteral("sync"), reply(200, syncBody(blocked)));
    resultOf(store->refresh());
    EXPECT_TRUE(shown(screen.find(QStringLiteral("emptyMainPerson"))));
    EXPECT_FALSE(shown(screen.find(QStringLiteral("mainPersonCard"))));
    EXPECT_TRUE(screen.shows(qtTrId("home.no_main_person.title")));
    EXPECT_TRUE(shown(screen.find(QStringLiteral("ownAvatar"))));
}

TEST_F(MainWindowStatesTest, BeforeTheFirstSyncAnswersThereIsNoOwnAvatarOnlyTheTexts)
{
    showSignedInWith(delayedServiceAnswer(500ms));
    EXPECT_FALSE(store->currentUser());
    EXPECT_FALSE(shown(screen.find(QStringLiteral("ownAvatar"))));
    EXPECT_TRUE(screen.shows(qtTrId("home.you")));
    EXPECT_TRUE(screen.shows(qtTrId("home.no_status")));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("ownAvatar"))); }));
}

TEST_F(MainWindowStatesTest, SigningInWithTheKeyboardAloneReachesTheMainWindow)
{
    resultOf(store->bootstrap());
    QQuickWindow *window = screen.get();
    ASSERT_TRUE(window);
    QQuickItem *email = screen.find(QStringLiteral("emailField"));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return email && email->hasActiveFocus(); }));

    // A wrong password first: the message shows and the fields keep their text.
    typeKeys(window, QStringLiteral("quorrin@example.com"));
    QTest::keyClick(window, Qt::Key_Return);
    QQuickItem *password = screen.find(QStringLiteral("passwordField"));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return password->hasActiveFocus(); }));
    typeKeys(window, QStringLiteral("short-but-wrong"));
    QTest::keyClick(window, Qt::Key_Return);
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(qtTrId("onboarding.auth.wrong_password")); }));

    // Tab goes in reading order: e-mail, password, sign-in button; Space presses it.
    for (int i = 0; i < 15; ++i)
        QTest::keyClick(window, Qt::Key_Backspace);
    typeKeys(window, QStringLiteral("vorlie-demo"));
    QTest::keyClick(window, Qt::Key_Tab);
    QQuickItem *signIn = screen.find(QStringLiteral("signInButton"));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return signIn->hasActiveFocus(); }));
    QTest::keyClick(window, Qt::Key_Space);

    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("changeStatusButton"))); }));
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedIn);
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return services.pushAuthorizations == 1; }));

    // Signed out again: a fresh form, back at the e-mail with nothing typed.
    resultOf(store->signOut());
    QQuickItem *freshEmail = nullptr;
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(freshEmail = screen.find(QStringLiteral("emailField"))); }));
    EXPECT_TRUE(freshEmail->property("text").toString().isEmpty());
    EXPECT_FALSE(shown(screen.find(QStringLiteral("passwordField"))));
    EXPECT_TRUE(freshEmail->hasActiveFocus());
}

// Each switch sends its own field alone, turns at once and keeps the value
// the service confirmed; the language picker's choice applies at once.
TEST_F(MainWindowStatesTest, EachSwitchOfTheSettingsSheetChangesItsOwnFieldAndTheLanguageAppliesAtOnce)
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
        QQuickItem *control = nullptr;
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(control = screen.find(QString::fromLatin1(s.objectName))); }));
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

    // German turns the window German at once (the picker's own value: the AT-SPI suite).
    QMetaObject::invokeMethod(screen.find(QStringLiteral("languagePicker")), "activated", Q_ARG(int, 1));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(QStringLiteral("Allgemein")); }));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(QStringLiteral("Meinen Status ändern")); }));
}

// The window as the session goes: the splash until it is known, then the
// form or the main content. A sign-in the keyring cannot keep is said on
// both, in the language of the moment, until the keyring takes the tokens.
TEST_F(ScreensTest, TheWindowFollowsTheSessionAndALockedKeyringIsSaidOnTheFormAndOverTheMainContent)
{
    KeyringWorld world;
    world.screen.languages.setSelection(AppLanguage::english);
    UiRoot ui{world.screen.parts};
    ui.appearance().setReduceMotion(true);
    ScreenWindow screen(ui, mainWindow);
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen.find(QStringLiteral("emailField")));
    resultOf(world.store.bootstrap());
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("emailField"))); }));
    EXPECT_FALSE(shown(screen.find(QStringLiteral("keyringMessage"))));

    world.keyring.state = CredentialStoreState::locked;
    EXPECT_EQ(resultOf(world.auth.storeTokens(QStringLiteral("a"), QStringLiteral("r"))), CredentialStoreState::locked);
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("keyringMessage"))); }));
    EXPECT_TRUE(screen.shows(qtTrId("mac.signin.keyring_locked")));
    EXPECT_FALSE(resultOf(world.store.completeSignIn(sample::data().user)));
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("keyringBanner"))); }));
    world.keyring.state = CredentialStoreState::unavailable;
    resultOf(world.auth.storeTokens(QStringLiteral("a2"), QStringLiteral("r2")));
    world.screen.languages.setSelection(AppLanguage::german);
    EXPECT_TRUE(qtTrId("mac.signin.keyring_unavailable").contains(QStringLiteral("Schlüsselbund")));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(qtTrId("mac.signin.keyring_unavailable")); }));

    // Unlocked later: the held tokens are written and the notice goes, without a restart.
    world.keyring.state = CredentialStoreState::available;
    ASSERT_TRUE(world.keyring.onChange);
    world.keyring.onChange();
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return !shown(screen.find(QStringLiteral("keyringBanner"))); }));
    EXPECT_EQ(world.keyring.items.value(QStringLiteral("refreshToken")), QStringLiteral("r2"));

    // Signed out from the settings sheet: its own dismissal dies with the main content.
    world.screen.router.setSettingsPresented(true);
    world.screen.router.setStatusPickerPresented(true);
    resultOf(world.store.signOut());
    EXPECT_FALSE(world.screen.router.isSettingsPresented());
    EXPECT_FALSE(world.screen.router.isStatusPickerPresented());
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("emailField"))); }));
}

TEST_F(ScreensTest, ASavedStatusClosesThePickerAndShowsTheToastAndClosingTheWindowOnlyHidesIt)
{
    ViewWorld world;
    world.ui.appearance().setReduceMotion(true);
    ScreenWindow screen(world.ui, mainWindow);
    ASSERT_TRUE(screen);
    world.signIn();
    world.router.open(app_route::StatusPicker{});
    QQuickItem *picker = nullptr;
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return shown(picker = screen.find(QStringLiteral("statusPicker"))); }));

    QMetaObject::invokeMethod(picker, "statusSaved");
    QMetaObject::invokeMethod(picker, "dismissRequested");
    QQuickItem *toast = screen.find(QStringLiteral("statusSavedToast"));
    ASSERT_TRUE(toast);
    EXPECT_TRUE(toast->property("isPresented").toBool());
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return !world.router.isStatusPickerPresented() && !shown(screen.find(QStringLiteral("statusPicker"))); }));
    EXPECT_TRUE(screen.shows(qtTrId("home.status_saved_toast")));

    QQuickWindow *window = screen.get();
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->show();
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return shown(screen.find(QStringLiteral("changeStatusButton"))); }));
}
