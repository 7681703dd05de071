// The screens as assistive technology finds them on the accessibility bus:
// read from another connection over AT-SPI, as a screen reader (or any other
// client of that bus) reads them.
#include "AtSpiReader.h"
#include "ViewChecks.h"
#include "ViewWorld.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

// Qt looks at this once, when its accessibility bridge starts with the
// application: before any test runs.
[[maybe_unused]] const bool bridgeAlwaysOn = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

const QUrl signInView(QStringLiteral("qrc:/Vorlie/SignIn/MacSignInView.qml"));
const QUrl mainWindow(QStringLiteral("qrc:/Vorlie/Main/MainWindow.qml"));
const QUrl settingsWindow(QStringLiteral("qrc:/Vorlie/Settings/SettingsWindow.qml"));

// Shown and given the keyboard, as a person finds a window.
void showActive(QQuickWindow &window)
{
    window.show();
    ViewWorld::spinUntil([&] { return window.isExposed(); });
    window.requestActivate();
    ViewWorld::spinUntil([&] { return window.isActive(); });
}

// The objects of that name a screen reader would read out.
QList<AtSpiNode> named(const QList<AtSpiNode> &nodes, const QString &name)
{
    QList<AtSpiNode> found;
    std::copy_if(nodes.begin(), nodes.end(), std::back_inserter(found),
                 [&](const AtSpiNode &n) { return n.name == name; });
    return found;
}

const AtSpiNode *withRole(const QList<AtSpiNode> &nodes, AtSpiNode::Role role)
{
    const auto found = std::find_if(nodes.begin(), nodes.end(), [&](const AtSpiNode &n) { return n.role == role; });
    return found == nodes.end() ? nullptr : &*found;
}

} // namespace

// One accessibility bus for the whole run: Qt's bridge joins the first one
// it sees and stays with it.
class AtSpiTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { reader = new AtSpiReader; }
    static void TearDownTestSuite()
    {
        delete reader;
        reader = nullptr;
    }

    static AtSpiReader *reader;
};

AtSpiReader *AtSpiTest::reader = nullptr;

TEST_F(AtSpiTest, ATypedPasswordIsAPasswordFieldWhoseCharactersNoClientCanRead)
{
    // None of its characters is in the field's name in either language.
    const QString password = QStringLiteral("7#Zq!xK9");
    for (const AppLanguage language : {AppLanguage::english, AppLanguage::german}) {
        SCOPED_TRACE(storedText(language).toStdString());
        ViewWorld world(language);
        std::unique_ptr<QQuickItem> form(qobject_cast<QQuickItem *>(world.ui.create(signInView)));
        ASSERT_TRUE(form);
        const auto window = world.show(form.get());
        showActive(*window);
        form->forceActiveFocus();
        QQuickItem *email = form->findChild<QQuickItem *>(QStringLiteral("emailField"));
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return email && email->hasActiveFocus(); }));
        typeKeys(window.get(), QStringLiteral("quorrin@example.com"));
        QTest::keyClick(window.get(), Qt::Key_Return);
        QQuickItem *passwordField = form->findChild<QQuickItem *>(QStringLiteral("passwordField"));
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return passwordField->hasActiveFocus(); }));
        typeKeys(window.get(), password);
        ASSERT_EQ(passwordField->property("text").toString(), password);

        QList<AtSpiNode> nodes;
        ASSERT_TRUE(ViewWorld::spinUntil([&] { return withRole(nodes = reader->nodes(), AtSpiNode::passwordText); }))
            << "no password field on the accessibility bus";
        const AtSpiNode &field = *withRole(nodes, AtSpiNode::passwordText);
        EXPECT_EQ(field.name, qtTrId("onboarding.auth.password_placeholder"));
        EXPECT_EQ(field.content.value_or(QString()).size(), password.size()) << "one mask character per typed one";
        const struct {
            const char *channel;
            QString said;
        } channels[] = {
            {"text", field.content.value_or(QString())}, {"name", field.name}, {"description", field.description}};
        for (const auto &channel : channels) {
            const bool leaks =
                std::any_of(password.begin(), password.end(), [&](QChar c) { return channel.said.contains(c); });
            EXPECT_FALSE(leaks) << channel.channel << " gives away a character: " << channel.said.toStdString();
        }
        for (const AtSpiNode &node : nodes)
            EXPECT_FALSE(node.content.value_or(QString()).contains(password) || node.name.contains(password)
                         || node.description.contains(password))
                << node.roleName.toStdString();
    }
}

// The main window in each state it can be in: a screen reader finds what
// is on screen, and nothing else.
TEST_F(AtSpiTest, TheMainWindowExposesWhatIsOnScreenAndNothingElse)
{
    // Keys, read in the language of the scene's world; other texts as they are.
    const QString syncing = QStringLiteral("home.syncing");
    const QString noStatus = QStringLiteral("home.no_status");
    const QString noMainPerson = QStringLiteral("home.no_main_person.title");
    const QString retry = QStringLiteral("action.retry");
    const QString saved = QStringLiteral("home.status_saved_toast");
    const QString partner = sample::data().partner.displayName;
    const auto said = [](const QString &keyOrText) { return qtTrId(keyOrText.toUtf8().constData()); };
    const struct Scene {
        const char *what;
        std::function<void(ViewWorld &, QQuickWindow &)> arrange;
        QStringList readOnce;
        QStringList neverRead;
    } scenes[] = {
        {"at rest", [](ViewWorld &, QQuickWindow &) {}, {partner}, {syncing, noStatus, noMainPerson, retry, saved}},
        {"while a sync runs",
         [](ViewWorld &world, QQuickWindow &) {
             world.sync.hold();
             QCoro::connect(world.store.refresh(), &world.store, [](bool) {});
         },
         {syncing},
         {retry, saved}},
        {"without a main person",
         [](ViewWorld &world, QQuickWindow &) {
             SyncSnapshot alone = sample::data().snapshot;
             alone.mainPerson.reset();
             alone.mainPersonStatus.reset();
             world.sync.snapshot = alone;
             resultOf(world.store.refresh());
         },
         {noMainPerson, QStringLiteral("home.no_main_person.subtitle")},
         {partner, noStatus, syncing}},
        {"after a failed sync",
         [](ViewWorld &world, QQuickWindow &) {
             world.sync.failure = APIError::offline();
             resultOf(world.store.refresh());
         },
         {retry, APIError::offline().userMessage()},
         {syncing, saved}},
        {"with the saved toast up",
         [](ViewWorld &, QQuickWindow &window) {
             QMetaObject::invokeMethod(window.findChild<QObject *>(QStringLiteral("statusSavedToast")), "show");
         },
         {saved},
         {syncing, retry}},
    };
    for (const Scene &scene : scenes) {
        SCOPED_TRACE(scene.what);
        ViewWorld world;
        world.ui.appearance().setReduceMotion(true);
        std::unique_ptr<QQuickWindow> window(world.ui.createWindow(mainWindow));
        ASSERT_TRUE(window);
        showActive(*window);
        world.signIn();
        ASSERT_TRUE(ViewWorld::spinUntil([&] {
            return !world.store.isSyncing() && window->findChild<QQuickItem *>(QStringLiteral("changeStatusButton"));
        }));
        scene.arrange(world, *window);

        QList<AtSpiNode> nodes;
        const auto settled = [&] {
            nodes = reader->nodes();
            return std::all_of(scene.readOnce.begin(), scene.readOnce.end(),
                               [&](const QString &name) { return named(nodes, said(name)).size() == 1; });
        };
        EXPECT_TRUE(ViewWorld::spinUntil(settled)) << scene.readOnce.join(", ").toStdString();
        for (const QString &name : scene.neverRead)
            EXPECT_EQ(named(nodes, said(name)).size(), 0) << name.toStdString();
        for (const AtSpiNode &node : nodes) {
            EXPECT_TRUE(node.has(AtSpiNode::visible) && node.has(AtSpiNode::showing))
                << node.roleName.toStdString() << " \"" << node.name.toStdString() << "\" is exposed but not shown";
        }
        EXPECT_EQ(accessibilityFaults(*window), QStringList());
    }
}

// The settings read as the controls they are: switches as check boxes that
// say whether they are on, the language as a combo box that says which.
TEST_F(AtSpiTest, SettingsSwitchesAreCheckBoxesWithTheirStateAndTheLanguageAComboBoxWithItsValue)
{
    ViewWorld world;
    world.ui.appearance().setReduceMotion(true);
    world.signIn();
    std::unique_ptr<QQuickWindow> window(world.ui.createWindow(settingsWindow));
    ASSERT_TRUE(window);
    showActive(*window);
    const User &user = *world.store.currentUser();
    const struct {
        const char *key;
        bool on;
    } switches[] = {
        {"settings.notifications.partner_status_changed", user.notifyPartnerStatusChanged},
        {"settings.notifications.status_reminder", user.notifyStatusReminder},
        {"settings.notifications.automation_status_changed", user.notifyAutomationStatusChanged},
        {"settings.launch_at_login", false},
        {"settings.show_menu_bar_icon", world.menuBar.isIconEnabled()},
    };
    QList<AtSpiNode> nodes;
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return !named(nodes = reader->nodes(), qtTrId(switches[0].key)).empty(); }));
    for (const auto &row : switches) {
        const QList<AtSpiNode> found = named(nodes, qtTrId(row.key));
        ASSERT_EQ(found.size(), 1) << row.key;
        EXPECT_EQ(found.first().role, AtSpiNode::checkBox)
            << row.key << " reads as " << found.first().roleName.toStdString();
        EXPECT_EQ(found.first().has(AtSpiNode::checked), row.on) << row.key;
    }

    const auto readsOn = [&](const char *key) {
        const QList<AtSpiNode> found = named(reader->nodes(), qtTrId(key));
        return found.size() == 1 && found.first().has(AtSpiNode::checked);
    };
    // Turned on from the keyboard, it says so.
    window->findChild<QQuickItem *>(QStringLiteral("launchAtLoginSwitch"))->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(window.get(), Qt::Key_Space);
    EXPECT_TRUE(world.launchAtLogin.isEnabled());
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return readsOn("settings.launch_at_login"); }));
    // Toggled by assistive technology, it changes the setting, not only its look.
    const QList<AtSpiNode> trayIcon = named(reader->nodes(), qtTrId("settings.show_menu_bar_icon"));
    ASSERT_EQ(trayIcon.size(), 1);
    ASSERT_TRUE(reader->act(trayIcon.first(), QStringLiteral("Toggle")));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return !world.menuBar.isIconEnabled(); }));
    EXPECT_FALSE(readsOn("settings.show_menu_bar_icon"));

    const auto choice = [&](const QString &label) -> QString {
        const QList<AtSpiNode> all = reader->nodes();
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all.at(i).role != AtSpiNode::comboBox || all.at(i).name != label)
                continue;
            // Screen readers take a combo box's value from its text child.
            for (const AtSpiNode &child : all) {
                if (child.parent == i && child.role == AtSpiNode::text)
                    return child.content.value_or(QString());
            }
        }
        return {};
    };
    EXPECT_EQ(choice(qtTrId("settings.language")), QStringLiteral("English"));
    QObject *languages = window->findChild<QObject *>(QStringLiteral("languagePicker"));
    QMetaObject::invokeMethod(languages, "activated", Q_ARG(int, 1));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return choice(QStringLiteral("Sprache")) == QStringLiteral("Deutsch"); }));
}

} // namespace vorlie::testing
