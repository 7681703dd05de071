// The settings form's rules against the local fake service: a refused change
// moving back, a switch flipped again on the way, the local switches, the
// language picker and sign-out. (One field per switch: the main window's test.)
#include "ScreenServices.h"
#include "SettingsPresenter.h"
#include "support/AppStackFixture.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>

using namespace vorlie;
using namespace vorlie::testing;
using Notification = SettingsPresenter::Notification;

namespace {

QList<QJsonObject> patchBodies(fake::FakeService &service)
{
    QList<QJsonObject> bodies;
    for (const fake::RecordedRequest &request : service.requests(QStringLiteral("me"))) {
        if (request.method == "PATCH")
            bodies << QJsonDocument::fromJson(request.body).object();
    }
    return bodies;
}

} // namespace

class SettingsPresenterTest : public AppStackFixture {
protected:
    void SetUp() override { startSignedIn(); }

    // What the session holds for the switch, as the service confirmed it.
    bool stored(Notification kind) const
    {
        const User &user = *store->currentUser();
        return kind == Notification::partnerStatusChanged ? user.notifyPartnerStatusChanged
             : kind == Notification::statusReminder       ? user.notifyStatusReminder
                                                          : user.notifyAutomationStatusChanged;
    }

    ScreenServices screen{prefsDir.path(), *store, dependencies(), host.rootUrl()};
    SettingsPresenter::Inputs inputs{
        *store, dependencies().profileRepository, screen.launchAtLogin, screen.menuBar, screen.languages, screen.lookup};
    SettingsPresenter presenter{inputs};
};

TEST_F(SettingsPresenterTest, ARefusedChangeMovesTheSwitchBackAndALaterSuccessClearsTheMessage)
{
    service().script("PATCH", QStringLiteral("me"), reply(503, errorEnvelope("MAINTENANCE", "Back in five minutes.")));
    const bool before = presenter.shownValue(Notification::statusReminder);
    presenter.setNotification(Notification::statusReminder, !before);

    ASSERT_TRUE(spinUntil([&] { return !presenter.errorMessage().isEmpty(); }));
    EXPECT_EQ(presenter.errorMessage(), QStringLiteral("Back in five minutes."));
    EXPECT_EQ(presenter.shownValue(Notification::statusReminder), before);
    EXPECT_EQ(stored(Notification::statusReminder), before);

    presenter.setNotification(Notification::partnerStatusChanged, !presenter.notifyPartnerStatusChanged());
    ASSERT_TRUE(spinUntil([&] { return presenter.errorMessage().isEmpty(); }));
    EXPECT_EQ(presenter.shownValue(Notification::statusReminder), before);
}

TEST_F(SettingsPresenterTest, ASwitchFlippedAgainWhileItsChangeTravelsEndsInTheLastChoice)
{
    const Notification kind = Notification::partnerStatusChanged;
    const bool before = presenter.shownValue(kind);
    service().script("PATCH", QStringLiteral("me"), delayedServiceAnswer(300ms));
    presenter.setNotification(kind, !before);
    presenter.setNotification(kind, before);
    EXPECT_EQ(presenter.shownValue(kind), before);

    ASSERT_TRUE(spinUntil([&] { return patchBodies(service()).size() == 2 && !store->isSyncing(); }));
    ASSERT_TRUE(spinUntil([&] { return resultOf(store->refresh()) && stored(kind) == before; }));
    const QList<QJsonObject> bodies = patchBodies(service());
    EXPECT_EQ(bodies[0].value(QStringLiteral("notifyPartnerStatusChanged")).toBool(), !before);
    EXPECT_EQ(bodies[1].value(QStringLiteral("notifyPartnerStatusChanged")).toBool(), before);
    EXPECT_EQ(presenter.shownValue(kind), before);

    // Flipped back and forth to where it was sent: one request is enough.
    service().script("PATCH", QStringLiteral("me"), delayedServiceAnswer(300ms));
    presenter.setNotification(kind, !before);
    presenter.setNotification(kind, before);
    presenter.setNotification(kind, !before);
    ASSERT_TRUE(spinUntil([&] { return stored(kind) == !before && !store->isSyncing(); }));
    EXPECT_EQ(patchBodies(service()).size(), 3);
    EXPECT_EQ(presenter.shownValue(kind), !before);
}

TEST_F(SettingsPresenterTest, TheLanguagePickerNamesTheDeviceInTheSystemLanguageAndStoresTheChoice)
{
    screen.systemLanguages = {QStringLiteral("de-DE")};
    screen.languages.setSelection(AppLanguage::english);
    QSignalSpy indexChanged(&presenter, &SettingsPresenter::languageIndexChanged);

    EXPECT_EQ(presenter.languageOptions(),
              (QStringList{QStringLiteral("Gerätesprache"), QStringLiteral("Deutsch"), QStringLiteral("English")}));
    EXPECT_EQ(presenter.languageIndex(), 2);
    presenter.setLanguageIndex(1);
    EXPECT_EQ(screen.languages.selection(), AppLanguage::german);
    EXPECT_EQ(readStoredLanguage(screen.defaults), AppLanguage::german);
    EXPECT_EQ(presenter.languageIndex(), 1);
    EXPECT_EQ(indexChanged.size(), 1);
    // The device option keeps the system's language whatever is chosen.
    screen.systemLanguages = {QStringLiteral("en-GB")};
    EXPECT_EQ(presenter.languageOptions().first(), QStringLiteral("Device language"));

    presenter.setLanguageIndex(3);
    presenter.setLanguageIndex(-1);
    EXPECT_EQ(screen.languages.selection(), AppLanguage::german);
}

TEST_F(SettingsPresenterTest, LaunchAtLoginAndTheTrayIconAreKeptWhereTheUserPutsThem)
{
    EXPECT_FALSE(presenter.launchAtLogin());
    presenter.setLaunchAtLogin(true);
    EXPECT_TRUE(screen.launchAtLogin.isEnabled());
    EXPECT_TRUE(SettingsPresenter(inputs).launchAtLogin());
    presenter.setLaunchAtLogin(false);
    EXPECT_FALSE(screen.launchAtLogin.isEnabled());

    // The desktop refusing (its autostart folder is a file) leaves the switch on.
    QDir(screen.autostartDir.path()).removeRecursively();
    QFile blocker(screen.autostartDir.path());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    presenter.setLaunchAtLogin(true);
    EXPECT_TRUE(presenter.launchAtLogin());
    EXPECT_FALSE(screen.launchAtLogin.isEnabled());
    blocker.remove();

    QSignalSpy iconChanged(&presenter, &SettingsPresenter::menuBarIconEnabledChanged);
    EXPECT_TRUE(presenter.menuBarIconEnabled());
    presenter.setMenuBarIconEnabled(false);
    presenter.setMenuBarIconEnabled(false);
    EXPECT_FALSE(MenuBarPreferences(screen.standard).isIconEnabled());
    EXPECT_EQ(iconChanged.size(), 1);
}

TEST_F(SettingsPresenterTest, SignOutShowsProgressUntilItEndsThenAsksToClose)
{
    service().script("POST", QStringLiteral("auth/logout"), delayedServiceAnswer(300ms));
    QSignalSpy dismissed(&presenter, &SettingsPresenter::dismissRequested);
    presenter.signOut();
    EXPECT_TRUE(presenter.isSigningOut());
    presenter.signOut(); // not refused: the session makes the two one
    EXPECT_TRUE(presenter.showsSignOut()); // its progress stays in view

    ASSERT_TRUE(spinUntil([&] { return !presenter.isSigningOut(); }));
    EXPECT_GE(dismissed.size(), 1);
    EXPECT_EQ(store->authState(), SessionStore::AuthState::signedOut);
    EXPECT_FALSE(store->currentUser());
    EXPECT_FALSE(storedToken(QStringLiteral("accessToken")));
    EXPECT_FALSE(storedToken(QStringLiteral("refreshToken")));
    EXPECT_FALSE(widget->load());

    // Without a user there are no notification switches to change.
    EXPECT_FALSE(presenter.showsNotifications());
    EXPECT_FALSE(presenter.showsSignOut());
    service().clearRecords();
    presenter.setNotification(Notification::statusReminder, true);
    EXPECT_FALSE(presenter.shownValue(Notification::statusReminder));
    EXPECT_EQ(presenter.errorMessage(), QString());
    EXPECT_EQ(service().requestCount(QStringLiteral("me")), 0);
}
