// The screens themselves, offscreen: every screen in German and English,
// light and dark, written as screenshots, with every interactive item named
// for screen readers; the window as the session and the keyring go; and the
// picker's saved status in the main window.
#include "ScreenWindow.h"
#include "repositories/sample/SampleData.h"
#include "views/ViewWorld.h"

#include <QAccessible>
#include <QHash>
#include <QTest>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

const QUrl settingsWindow(QStringLiteral("qrc:/Vorlie/Settings/SettingsWindow.qml"));

// A desktop keyring that answers, refuses or is locked, and says when it
// changes its mind, as the Secret Service adapter does.
class SwitchableKeyring final : public TokenStore {
public:
    CredentialStoreState state = CredentialStoreState::available;
    QHash<QString, QString> items;
    std::function<void()> onChange;

    bool open() const { return state == CredentialStoreState::available; }
    QCoro::Task<TokenRead> readEntry(QString account) override
    {
        co_return TokenRead{open() && items.contains(account) ? std::optional(items.value(account)) : std::nullopt, state};
    }
    QCoro::Task<CredentialStoreState> write(QString value, QString account) override
    {
        if (open())
            items.insert(account, value);
        co_return state;
    }
    QCoro::Task<CredentialStoreState> deleteItem(QString account) override
    {
        if (open())
            items.remove(account);
        co_return state;
    }
    void watchAvailability(std::function<void()> changed) override { onChange = std::move(changed); }
};

// The session over sample repositories and a keyring the test controls.
struct KeyringWorld {
    QTemporaryDir prefs;
    SharedDefaults defaults{PreferencePaths::under(prefs.path())};
    SwitchableKeyring keyring;
    QNetworkAccessManager network;
    AuthSession auth{keyring, QUrl(QStringLiteral("http://127.0.0.1:9/api/v1")), network};
    MockAuthRepository authRepository;
    MockProfileRepository profile;
    MockConnectionsRepository connections;
    MockStatusRepository statuses;
    MockSyncRepository sync;
    MockDeviceRepository devices;
    MockAnnouncementRepository announcements;
    WidgetSnapshotStore widget{defaults, network, QUrl(QStringLiteral("http://127.0.0.1:9")), [] {}};
    AppDependencies service{auth, authRepository, profile, connections, statuses, sync, devices, announcements};
    SessionStore store{service, SyncSnapshotCache(defaults), widget};
    ScreenServices screen{prefs.path(), store, service, QUrl(QStringLiteral("http://127.0.0.1:9"))};
};

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
            ScreenWindow screen(world.ui, mainWindow);
            ASSERT_TRUE(screen);
            QQuickWindow *window = screen.get();
            EXPECT_EQ(window->title(), qtTrId("vorlie"));
            const auto walk = [&] { EXPECT_EQ(accessibilityFaults(*window), QStringList()); };

            screen.screenshot(prefix + QLatin1String("splash"));
            walk();

            world.signIn();
            ASSERT_TRUE(screen.awaitShown(QStringLiteral("changeStatusButton")));
            EXPECT_TRUE(screen.shows(sample::data().partner.displayName));
            EXPECT_TRUE(screen.shows(qtTrId("home.change_my_status")));
            screen.screenshot(prefix + QLatin1String("main"));
            walk();

            world.sync.failure = APIError::offline();
            resultOf(world.store.refresh());
            EXPECT_TRUE(shownOnScreen(screen.find(QStringLiteral("offlineLine"))));
            walk();
            world.sync.failure.reset();
            resultOf(world.store.refresh());

            world.router.setSettingsPresented(true);
            // With reduced motion a sheet is there at once, not fading in.
            EXPECT_TRUE(fullyOpaque(screen.awaitShown(QStringLiteral("signOutButton"))));
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
            world.sync.failure = APIError::unauthorized(); // the sample session holds no tokens
            resultOf(world.store.refresh());
            QQuickItem *signInAgain = screen.find(QStringLiteral("bannerActionButton"));
            ASSERT_TRUE(shownOnScreen(signInAgain));
            EXPECT_TRUE(screen.shows(qtTrId("home.sign_in_again")));
            walk();
            for (int tab = 0; tab < 10 && !signInAgain->hasActiveFocus(); ++tab)
                QTest::keyClick(window, Qt::Key_Tab);
            ASSERT_TRUE(signInAgain->hasActiveFocus()) << "reached with the keyboard";
            QTest::keyClick(window, Qt::Key_Return);
            ASSERT_TRUE(screen.awaitShown(QStringLiteral("emailField")));
            world.sync.failure.reset();
            EXPECT_EQ(screen.find(QStringLiteral("emailField"))->property("text").toString(), *sample::data().user.email);
            EXPECT_GE(window->height(), 560);
            screen.screenshot(prefix + QLatin1String("signin"));
            walk();
            screen.find(QStringLiteral("emailField"))->forceActiveFocus();
            QTest::keyClick(window, Qt::Key_Return);
            ASSERT_TRUE(screen.awaitShown(QStringLiteral("passwordField")));
            typeKeys(window, QStringLiteral("secret"));
            walk();

            ScreenWindow settings(world.ui, settingsWindow);
            ASSERT_TRUE(settings);
            EXPECT_EQ(settings.get()->size(), QSize(380, 380));
            // Signed out there is no user, so no notification switches.
            EXPECT_FALSE(settings.shows(qtTrId("settings.notifications")));
            EXPECT_TRUE(settings.shows(qtTrId("settings.general")));
            EXPECT_FALSE(shownOnScreen(settings.find(QStringLiteral("signOutButton"))));
            settings.screenshot(prefix + QLatin1String("settings-window"));
            EXPECT_EQ(accessibilityFaults(*settings.get()), QStringList());
        }
    }
}

// The window as the session goes: the splash until it is known, then the
// form or the main content. A sign-in the keyring cannot keep is said on
// both, in the language of the moment, until the keyring takes the tokens.
TEST_F(ScreensTest, TheWindowFollowsTheSessionAndALockedKeyringIsSaidOnTheFormAndOverTheMainContent)
{
    KeyringWorld world;
    world.screen.languages.setSelection(AppLanguage::english);
    UiRoot ui{world.screen.parts};
    ScreenWindow screen(ui, mainWindow);
    ASSERT_TRUE(screen);
    EXPECT_FALSE(screen.find(QStringLiteral("emailField")));
    resultOf(world.store.bootstrap());
    ASSERT_TRUE(screen.awaitShown(QStringLiteral("emailField")));
    EXPECT_FALSE(shownOnScreen(screen.find(QStringLiteral("keyringMessage"))));

    world.keyring.state = CredentialStoreState::locked;
    EXPECT_EQ(resultOf(world.auth.storeTokens(QStringLiteral("a"), QStringLiteral("r"))), CredentialStoreState::locked);
    ASSERT_TRUE(screen.awaitShown(QStringLiteral("keyringMessage")));
    EXPECT_TRUE(screen.shows(qtTrId("mac.signin.keyring_locked")));
    EXPECT_FALSE(resultOf(world.store.completeSignIn(sample::data().user)));
    ASSERT_TRUE(screen.awaitShown(QStringLiteral("keyringBanner")));
    world.keyring.state = CredentialStoreState::unavailable;
    resultOf(world.auth.storeTokens(QStringLiteral("a2"), QStringLiteral("r2")));
    world.screen.languages.setSelection(AppLanguage::german);
    EXPECT_TRUE(qtTrId("mac.signin.keyring_unavailable").contains(QStringLiteral("Schlüsselbund")));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(qtTrId("mac.signin.keyring_unavailable")); }));

    // Unlocked later: the held tokens are written and the notice goes, without a restart.
    world.keyring.state = CredentialStoreState::available;
    ASSERT_TRUE(world.keyring.onChange);
    world.keyring.onChange();
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return !shownOnScreen(screen.find(QStringLiteral("keyringBanner"))); }));
    EXPECT_EQ(world.keyring.items.value(QStringLiteral("refreshToken")), QStringLiteral("r2"));

    // Signed out from the settings sheet: its own dismissal dies with the main content.
    world.screen.router.setSettingsPresented(true);
    world.screen.router.setStatusPickerPresented(true);
    resultOf(world.store.signOut());
    EXPECT_FALSE(world.screen.router.isSettingsPresented());
    EXPECT_FALSE(world.screen.router.isStatusPickerPresented());
    EXPECT_TRUE(screen.awaitShown(QStringLiteral("emailField")));
}

TEST_F(ScreensTest, ASavedStatusClosesThePickerAndShowsTheToastAndClosingTheWindowOnlyHidesIt)
{
    ViewWorld world;
    ScreenWindow screen(world.ui, mainWindow);
    ASSERT_TRUE(screen);
    world.signIn();
    world.router.open(app_route::StatusPicker{});
    QQuickItem *picker = screen.awaitShown(QStringLiteral("statusPicker"));
    ASSERT_TRUE(picker);

    QMetaObject::invokeMethod(picker, "statusSaved");
    QMetaObject::invokeMethod(picker, "dismissRequested");
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return !world.router.isStatusPickerPresented() && !shownOnScreen(screen.find(QStringLiteral("statusPicker"))); }));
    EXPECT_TRUE(screen.shows(qtTrId("home.status_saved_toast")));

    QQuickWindow *window = screen.get();
    window->close();
    EXPECT_FALSE(window->isVisible());
    window->show();
    EXPECT_TRUE(screen.awaitShown(QStringLiteral("changeStatusButton")));
}
