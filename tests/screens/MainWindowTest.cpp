// The main window over the real service client, in each state the session
// can be in, with its settings sheet and its status picker; and a sign-in
// done with the keyboard alone.
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

const QUrl mainWindow(QStringLiteral("qrc:/Vorlie/Main/MainWindow.qml"));

QByteArray syncBody(const SyncSnapshot &snapshot)
{
    return QJsonDocument(QJsonObject{{"data", JsonCodec<SyncSnapshot>::encode(snapshot)}}).toJson(QJsonDocument::Compact);
}

// Items under `root` on screen whose accessible role and name match; any name for an empty one.
int shownWith(QQuickItem *root, QAccessible::Role role, const QString &name = {})
{
    int count = 0;
    forEachItem(root, [&](QQuickItem *item) {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(item);
        count += shownOnScreen(item) && iface && iface->role() == role && (name.isEmpty() || iface->text(QAccessible::Name) == name);
    });
    return count;
}
bool loadingShown(QQuickItem *picker) { return shownWith(picker, QAccessible::Indicator) > 0; }
bool sectionShown(QQuickItem *picker, const char *titleKey) { return shownWith(picker, QAccessible::Heading, qtTrId(titleKey)) > 0; }
bool chipShown(QQuickItem *picker, const QString &key)
{
    return shownWith(picker, QAccessible::Button, BuiltInStatusCatalog::localizedText(key)) > 0;
}

} // namespace

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

    ScreenServices services{prefsDir.path(), *store, dependencies(), host.rootUrl()};
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

    // German turns the whole window German at once, not only the sheet (the AT-SPI walk reads the sheet's).
    QMetaObject::invokeMethod(screen.find(QStringLiteral("languagePicker")), "activated", Q_ARG(int, 1));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return screen.shows(QStringLiteral("Meinen Status ändern")); }));
}

// The picker while its catalogue is slow, fails or never answers: the loading
// state first, never empty sections, then the service's chips or the built-in ones.
TEST_F(MainWindowStatesTest, ASlowCatalogueShowsThePickersLoadingStateThenItsChipsOrTheBuiltInOnes)
{
    const struct {
        const char *name;
        fake::ScriptedReply catalogue;
        AppLanguage language;
        Appearance::ColorScheme scheme;
        bool builtIn; // the built-in catalogue in place of the service's
        QString error; // the line under the picker once the chips are there (read in the case's language)
    } cases[] = {
        {"slow", delayedServiceAnswer(500ms), AppLanguage::english, Appearance::ColorScheme::light, false, {}},
        {"failing", reply(503, errorEnvelope("MAINTENANCE", "Back soon"), 500ms), AppLanguage::german,
         Appearance::ColorScheme::dark, true, QStringLiteral("Back soon")},
        {"silent", misbehaving(fake::ScriptedReply::Behaviour::hang), AppLanguage::english, Appearance::ColorScheme::dark, true, qtTrId("api_error.timeout")},
    };
    showSignedInWith(delayedServiceAnswer(0ms));
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        services.languages.setSelection(c.language);
        ui.appearance().setColorScheme(c.scheme);
        service().scriptAlways("GET", QStringLiteral("status/catalog"), c.catalogue);
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
        // The service's catalogue carries this account's favourites; the built-in one none.
        EXPECT_EQ(sectionShown(picker, "status_picker.favorites"), !c.builtIn);
        if (c.builtIn) {
            for (const BuiltInStatusCatalog::Entry &entry : BuiltInStatusCatalog::entries())
                EXPECT_EQ(shownWith(picker, QAccessible::Button, BuiltInStatusCatalog::localizedText(entry.key)), 1)
                    << entry.key.toStdString();
        }
        EXPECT_EQ(presenter->errorMessage(), c.error);
        EXPECT_TRUE(c.error.isEmpty() || showsText(picker, c.error)) << c.error.toStdString();
        EXPECT_EQ(loading.count(), 1);
        // Four categories, after the favourites when the service's; each row told on its own.
        EXPECT_EQ(presenter->sections()->rowCount(), c.builtIn ? 4 : 5);
        EXPECT_EQ(inserted.count(), presenter->sections()->rowCount());
        EXPECT_TRUE(ViewWorld::spinUntil([&] { return picker->implicitHeight() > loadingHeight; })) << "not grown to its chips";
        service().clearScripts();
        services.router.setStatusPickerPresented(false);
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return !screen.find(QStringLiteral("statusPicker")); }));
    }
}
