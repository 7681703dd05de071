// The screens as assistive technology finds them on the accessibility bus:
// read from another connection over AT-SPI, as a screen reader (or any other
// client of that bus) reads them.
#include "support/AtSpiReader.h"
#include "screens/ScreenWindow.h"

#include <QTest>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

// Qt looks at this once, when its accessibility bridge starts with the
// application: before any test runs.
[[maybe_unused]] const bool bridgeAlwaysOn = qputenv("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");

// The objects of that name a screen reader would read out.
QList<AtSpiNode> named(const QList<AtSpiNode> &nodes, const QString &name)
{
    QList<AtSpiNode> found;
    std::copy_if(nodes.begin(), nodes.end(), std::back_inserter(found),
                 [&](const AtSpiNode &n) { return n.name == name; });
    return found;
}

} // namespace

// The main window signed out, then signed in in each state it can be in: a
// screen reader finds what is on screen and nothing else, and a typed
// password as a password field whose characters no client can read.
TEST(AtSpiTest, TheMainWindowExposesWhatIsOnScreenAndNothingElse)
{
    // Qt's bridge joins the first accessibility bus it sees and stays with it.
    AtSpiReader reader;
    ViewWorld world;
    ScreenWindow screen(world.ui, mainWindow);
    ASSERT_TRUE(screen && screen.get()->isActive());
    QQuickWindow *window = screen.get();
    const QString syncing = qtTrId("home.syncing"), noStatus = qtTrId("home.no_status"),
                  noMainPerson = qtTrId("home.no_main_person.title"), retry = qtTrId("action.retry"),
                  saved = qtTrId("home.status_saved_toast"), partner = sample::data().partner.displayName;
    QList<AtSpiNode> nodes;
    const auto expectReads = [&](const char *scene, const QStringList &once, const QStringList &never) {
        SCOPED_TRACE(scene);
        EXPECT_TRUE(ViewWorld::spinUntil([&] {
            nodes = reader.nodes();
            return std::all_of(once.begin(), once.end(), [&](const QString &name) { return named(nodes, name).size() == 1; });
        })) << once.join(", ").toStdString();
        for (const QString &name : never)
            EXPECT_EQ(named(nodes, name).size(), 0) << name.toStdString();
        for (const AtSpiNode &node : nodes) {
            EXPECT_TRUE(node.has(AtSpiNode::visible) && node.has(AtSpiNode::showing))
                << node.roleName.toStdString() << " \"" << node.name.toStdString() << "\" is exposed but not shown";
        }
        EXPECT_EQ(accessibilityFaults(*window), QStringList());
    };

    // None of its characters is in the field's name.
    const QString password = QStringLiteral("7#Zq!xK9");
    resultOf(world.store.bootstrap());
    QQuickItem *passwordField = screen.typeSignIn(QStringLiteral("quorrin@example.com"), password);
    ASSERT_TRUE(passwordField);
    ASSERT_EQ(passwordField->property("text").toString(), password);
    expectReads("signed out", {qtTrId("onboarding.auth.password_placeholder")}, {partner, noStatus, syncing, retry});
    const auto field = std::find_if(nodes.begin(), nodes.end(), [](const AtSpiNode &n) { return n.role == AtSpiNode::passwordText; });
    ASSERT_NE(field, nodes.end()) << "no password field on the accessibility bus";
    EXPECT_EQ(field->name, qtTrId("onboarding.auth.password_placeholder"));
    EXPECT_EQ(field->content.value_or(QString()).size(), password.size()) << "one mask character per typed one";
    for (const QString &said : {field->content.value_or(QString()), field->name, field->description}) {
        const bool leaks = std::any_of(password.begin(), password.end(), [&](QChar c) { return said.contains(c); });
        EXPECT_FALSE(leaks) << "gives away a character: " << said.toStdString();
    }
    for (const AtSpiNode &node : nodes)
        EXPECT_FALSE(node.content.value_or(QString()).contains(password) || node.name.contains(password)
                     || node.description.contains(password))
            << node.roleName.toStdString();

    world.signIn();
    ASSERT_TRUE(ViewWorld::spinUntil([&] {
        return !world.store.isSyncing() && screen.find(QStringLiteral("changeStatusButton"));
    }));
    expectReads("at rest", {partner}, {syncing, noStatus, noMainPerson, retry, saved});

    world.sync.hold();
    QCoro::connect(world.store.refresh(), &world.store, [](bool) {});
    expectReads("while a sync runs", {syncing}, {retry, saved});
    world.sync.release();
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return !world.store.isSyncing(); }));

    world.sync.failure = APIError::offline();
    resultOf(world.store.refresh());
    expectReads("after a failed sync", {retry, APIError::offline().userMessage()}, {syncing, saved});

    world.sync.failure.reset();
    world.sync.snapshot.mainPerson.reset();
    world.sync.snapshot.mainPersonStatus.reset();
    resultOf(world.store.refresh());
    expectReads("without a main person", {noMainPerson, qtTrId("home.no_main_person.subtitle")}, {partner, noStatus, syncing, retry});

    QMetaObject::invokeMethod(window->findChild<QObject *>(QStringLiteral("statusSavedToast")), "show");
    expectReads("with the saved toast up", {saved}, {syncing, retry});

    // The settings sheet: switches read as check boxes that say whether they
    // are on, the language as a combo box that says which.
    world.router.setSettingsPresented(true);
    const User &user = *world.store.currentUser();
    const struct {
        const char *key;
        bool on;
    } switches[] = {
        {"settings.notifications.partner_status_changed", user.notifyPartnerStatusChanged},
        {"settings.launch_at_login", false},
        {"settings.show_menu_bar_icon", world.menuBar.isIconEnabled()},
    };
    expectReads("with the settings up", {qtTrId(switches[0].key)}, {});
    for (const auto &row : switches) {
        const QList<AtSpiNode> found = named(nodes, qtTrId(row.key));
        ASSERT_EQ(found.size(), 1) << row.key;
        EXPECT_EQ(found.first().role, AtSpiNode::checkBox) << row.key << " reads as " << found.first().roleName.toStdString();
        EXPECT_EQ(found.first().has(AtSpiNode::checked), row.on) << row.key;
    }
    const auto readsOn = [&](const char *key) {
        const QList<AtSpiNode> found = named(reader.nodes(), qtTrId(key));
        return found.size() == 1 && found.first().has(AtSpiNode::checked);
    };
    // Turned on from the keyboard, it says so.
    screen.find(QStringLiteral("launchAtLoginSwitch"))->forceActiveFocus(Qt::TabFocusReason);
    QTest::keyClick(window, Qt::Key_Space);
    EXPECT_TRUE(world.launchAtLogin.isEnabled());
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return readsOn("settings.launch_at_login"); }));
    // Toggled by assistive technology, it changes the setting, not only its look.
    const QList<AtSpiNode> trayIcon = named(reader.nodes(), qtTrId("settings.show_menu_bar_icon"));
    ASSERT_EQ(trayIcon.size(), 1);
    ASSERT_TRUE(reader.act(trayIcon.first(), QStringLiteral("Toggle")));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return !world.menuBar.isIconEnabled(); }));
    EXPECT_FALSE(readsOn("settings.show_menu_bar_icon"));

    const auto choice = [&](const QString &label) -> QString {
        const QList<AtSpiNode> all = reader.nodes();
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
    QMetaObject::invokeMethod(window->findChild<QObject *>(QStringLiteral("languagePicker")), "activated", Q_ARG(int, 1));
    EXPECT_TRUE(ViewWorld::spinUntil([&] { return choice(QStringLiteral("Sprache")) == QStringLiteral("Deutsch"); }));
}

} // namespace vorlie::testing
