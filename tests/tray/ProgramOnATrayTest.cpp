// The real `vorlie` program on a desktop: signed in against the local fake
// service, with a StatusNotifierWatcher and host on the test bus and push
// through the development distributor. What a person sees is read where a
// person would see it: the item's picture over D-Bus, the windows on the X
// display, keys typed through the X server.
#include "DevDistributorHost.h"
#include "FakeServiceHost.h"
#include "KeychainTokenStore.h"
#include "ProgramEnvironment.h"
#include "ProgramWindows.h"
#include "TrayTestSupport.h"
#include "session/AuthSession.h"
#include "support/AtSpiReader.h"
#include "support/ResultOf.h"
#include "support/StatusNotifierItemClient.h"
#include "support/StatusNotifierWatcher.h"

#include <QStyleHints>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing;

using namespace vorlie::testing::xwindows;

constexpr int panelWidth = 280;
constexpr int pickerWidth = 340;
constexpr int settingsWidth = 380;
constexpr int mainWidth = 460;

class ProgramOnATray : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh";
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "needs an X server";
        // The program keeps its tokens where it always does: under its own
        // credential service in the test session's throw-away keyring.
        const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
        resultOf(auth.storeTokens(pair.accessToken, pair.refreshToken));
        ASSERT_EQ(publishAsMainPerson(host, QStringLiteral("tired")).status, 200);
    }

    ~ProgramOnATray() override
    {
        program.terminate();
        if (!program.waitForFinished(5000))
            program.kill();
        resultOf(auth.clearTokens());
    }

    // Whether the program serves a screen reader: Qt's bridge is off unless
    // the desktop asks for it, and it joins only a bus that is already there.
    enum class WithScreenReader : bool { no, yes };

    void launch(const QStringList &arguments, WithScreenReader screenReader = WithScreenReader::no)
    {
        QProcessEnvironment environment = programEnvironment(host, distributor, home);
        if (screenReader == WithScreenReader::yes)
            environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        // Freed memory is overwritten at once, so a read after free ends the
        // program in the run that makes it rather than in one run of several.
        environment.insert(QStringLiteral("MALLOC_PERTURB_"), QStringLiteral("190"));
        environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS"))
                                                               + QStringLiteral(":max_free_fill_size=1048576:free_fill_byte=190"));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(VORLIE_PROGRAM), arguments);
        ASSERT_TRUE(program.waitForStarted());
    }

    // The program's item, once it is on the tray and shows the picture `shown` asks for.
    std::unique_ptr<StatusNotifierItemClient> itemShowing(const std::function<bool(const QImage &)> &shown)
    {
        if (!QTest::qWaitFor([this] { return !watcher.registeredItems().isEmpty(); }, waitMs))
            return nullptr;
        auto item = std::make_unique<StatusNotifierItemClient>(watcher.registeredItems().constLast());
        const bool showing = QTest::qWaitFor([&item, &shown] {
            const QList<QImage> pictures = item->iconPixmaps();
            return !pictures.isEmpty() && shown(pictures.constFirst());
        }, waitMs);
        return showing ? std::move(item) : nullptr;
    }

    // What was on the screen and what became of the program, for a failure's message.
    std::string whatHappened() const
    {
        QStringList windows;
        for (const auto &[window, size] : shownWindows())
            windows << QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
        const QString state = program.state() == QProcess::NotRunning
            ? QStringLiteral("ended with %1").arg(program.exitCode())
            : QStringLiteral("running");
        return QStringLiteral("windows shown: [%1]; the program is %2").arg(windows.join(u", "), state).toStdString();
    }

    // Whether a status was published, with this text in it.
    bool published(const QString &text)
    {
        return QTest::qWaitFor([this, &text] {
            const QList<fake::RecordedRequest> puts = host.service().requests(QStringLiteral("status/me"));
            return std::any_of(puts.cbegin(), puts.cend(), [&text](const fake::RecordedRequest &r) {
                return r.method == "PUT" && r.body.contains(text.toUtf8());
            });
        }, waitMs);
    }

    // The panel toggled open from a closed one: one left open is toggled away first.
    static bool panelOpened(StatusNotifierItemClient &item)
    {
        if (windowsOfWidth(panelWidth) > 0)
            item.activate(0, 0);
        return QTest::qWaitFor([] { return windowsOfWidth(panelWidth) == 0; }, waitMs) && item.activate(0, 0)
            && windowFocused(panelWidth);
    }

    fake::FakeServiceHost host;
    devpush::DevDistributorHost distributor{QStringLiteral("org.unifiedpush.Distributor.tray_e2e_")
                                            + QUuid::createUuid().toString(QUuid::Id128)};
    KeychainTokenStore keychain{QStringLiteral("com.vorlia.app.tokens")};
    QNetworkAccessManager network;
    AuthSession auth{keychain, host.baseUrl(), network, std::chrono::seconds(2)};
    StatusNotifierWatcher watcher;
    QTemporaryDir home;
    QProcess program;
};

// Started as login autostart starts it, to the tray. The panel's footer
// opens the settings in a window of their own, which the tray's menu raises
// rather than doubles; a push brings the main person's next status to the tray.
TEST_F(ProgramOnATray, FromTheTrayThePanelOpensTheSettingsOnceAndThePushFollows)
{
    ASSERT_TRUE(watcher.start());
    launch({QStringLiteral("--background")}); // as login autostart starts it: to the tray, without the window
    const auto item = itemShowing(carriesEmoji);
    ASSERT_TRUE(item) << "no item with the main person's emoji on the tray; " << whatHappened();
    EXPECT_TRUE(shownWindows().isEmpty());

    // The panel opens with its change-status button focused; its footer, by
    // keyboard: past "Open vorlie" to the settings. (Publishing from the
    // picker is the fast toggles' case.)
    ASSERT_TRUE(item->activate(0, 0));
    ASSERT_TRUE(windowFocused(panelWidth)) << "no panel; " << whatHappened();
    ASSERT_TRUE(typeKeys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")}));
    ASSERT_TRUE(windowShown(settingsWidth, 380)) << "no settings window; " << whatHappened();
    EXPECT_TRUE(windowFocused(settingsWidth));
    EXPECT_EQ(windowsOfWidth(mainWidth), 0) << "the settings come in a window of their own, not over the main window";
    // Behind the panel, then asked for from the tray's menu: raised, not doubled.
    ASSERT_TRUE(item->activate(0, 0));
    ASSERT_TRUE(windowFocused(panelWidth));
    // The menu's order is the tray item's suite's: show status, open vorlie, settings, quit.
    ASSERT_TRUE(item->clickMenuEntry(item->menuEntries().value(2).id));
    EXPECT_TRUE(windowFocused(settingsWidth)) << whatHappened();
    EXPECT_EQ(windowsOfWidth(settingsWidth), 1);
    EXPECT_EQ(windowsOfWidth(mainWidth), 0);

    // The main person changes to a status without emoji: the push brings it,
    // once the program has told the service where to push.
    ASSERT_TRUE(QTest::qWaitFor([this] { return host.service().requestCount(QStringLiteral("devices")) > 0; }, waitMs))
        << "the program never registered for push; " << whatHappened();
    ASSERT_EQ(publishAsMainPerson(host, QStringLiteral("custom"), QStringLiteral("Out for a walk")).status, 200);
    EXPECT_TRUE(itemShowing([](const QImage &picture) { return !carriesEmoji(picture); })) << "the tray kept the old emoji";
}

// Without any tray the main window is the only way in: it shows even when
// started in the background, and leaving it (its close button, or Ctrl+Q)
// ends the program cleanly instead of leaving it running unseen; the next
// start shows it again.
TEST_F(ProgramOnATray, WithoutAnyTrayTheMainWindowIsTheWayInAndOut)
{
    const std::vector<std::pair<const char *, std::function<bool()>>> waysOut{
        {"the window's close button", [] { return closeWindowOfWidth(mainWidth); }},
        {"Ctrl+Q", [] { return windowFocused(mainWidth) && typeKeys({QStringLiteral("ctrl+q")}); }},
    };
    for (const auto &[wayOut, leave] : waysOut) {
        SCOPED_TRACE(wayOut);
        launch({QStringLiteral("--background")});
        ASSERT_TRUE(windowShown(mainWidth)) << "no main window; " << whatHappened();
        EXPECT_TRUE(watcher.registeredItems().isEmpty());
        ASSERT_TRUE(leave());
        ASSERT_TRUE(program.waitForFinished(waitMs)) << "the program outlived its only window; " << whatHappened();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
    }
}

// On a tray, a closed main window is let go and made anew when it is asked
// for again: the program keeps running, and each new window is whole, read
// by a screen reader and answering the keyboard at once.
TEST_F(ProgramOnATray, OnATrayAClosedMainWindowComesBackWholeEachTime)
{
    ASSERT_TRUE(watcher.start());
    AtSpiReader screenReader(&program);
    launch({}, WithScreenReader::yes);
    const auto item = itemShowing(carriesEmoji);
    ASSERT_TRUE(item) << "no item on the tray; " << whatHappened();
    ASSERT_TRUE(windowShown(mainWidth)) << "no main window; " << whatHappened();
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(closeWindowOfWidth(mainWidth));
        ASSERT_TRUE(QTest::qWaitFor([] { return windowsOfWidth(mainWidth) == 0; }, waitMs)) << whatHappened();
        ASSERT_EQ(program.state(), QProcess::Running) << "closing the window ended the program on a tray";
        // The menu's second entry opens vorlie.
        ASSERT_TRUE(item->clickMenuEntry(item->menuEntries().value(1).id));
        ASSERT_TRUE(windowFocused(mainWidth)) << "no main window again; " << whatHappened();
        EXPECT_EQ(windowsOfWidth(mainWidth), 1);
        ASSERT_TRUE(typeKeys({QStringLiteral("Tab")}));
        EXPECT_TRUE(QTest::qWaitFor([&screenReader] {
            const QList<AtSpiNode> nodes = screenReader.nodes();
            return std::any_of(nodes.cbegin(), nodes.cend(), [](const AtSpiNode &node) {
                return node.has(AtSpiNode::focused) && !node.name.isEmpty();
            });
        }, waitMs)) << "nothing named has the focus in the new window";
    }
}

// Toggled from the tray faster than a person reads, with the picker open,
// a publish and a push on their way: the panel keeps opening and closing
// and the program never dies.
TEST_F(ProgramOnATray, FastTogglesWithThePickerOpenAndPushesArrivingNeverEndTheProgram)
{
    // Signed out at start: signed in through the window, first with a wrong
    // password. Keys go in once a screen reader says the field that wants
    // them has the focus, as a person types once they see the caret.
    resultOf(auth.clearTokens());
    ASSERT_TRUE(watcher.start());
    AtSpiReader screenReader(&program);
    launch({}, WithScreenReader::yes);
    const auto readsOut = [&screenReader](const std::function<bool(const AtSpiNode &)> &wanted) {
        return QTest::qWaitFor([&] {
            const QList<AtSpiNode> nodes = screenReader.nodes();
            return std::any_of(nodes.cbegin(), nodes.cend(), wanted);
        }, waitMs);
    };
    const auto focusedFieldReads = [&readsOut](unsigned role, const QString &content) {
        return readsOut([&](const AtSpiNode &node) {
            return node.role == role && node.has(AtSpiNode::focused) && node.content == content;
        });
    };
    const auto masked = [](const QString &password) {
        return QString(password.size(), QGuiApplication::styleHints()->passwordMaskCharacter());
    };
    const QString email = fake::ServiceState::seededAccount().email, wrong = QStringLiteral("not the password"),
                  right = fake::ServiceState::seededAccount().password;
    ASSERT_TRUE(focusedFieldReads(AtSpiNode::text, QString())) << "no focused e-mail field; " << whatHappened();
    ASSERT_TRUE(typeText(email));
    ASSERT_TRUE(focusedFieldReads(AtSpiNode::text, email));
    ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
    ASSERT_TRUE(focusedFieldReads(AtSpiNode::passwordText, QString())) << "the password field did not take the focus";
    ASSERT_TRUE(typeText(wrong));
    ASSERT_TRUE(focusedFieldReads(AtSpiNode::passwordText, masked(wrong)));
    ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
    // The refusal is read out while the password keeps the focus.
    ASSERT_TRUE(readsOut([](const AtSpiNode &node) { return node.role == AtSpiNode::alert && !node.name.isEmpty(); }))
        << "no refusal read out; " << whatHappened();
    ASSERT_TRUE(typeKeys({QStringLiteral("ctrl+a")}));
    ASSERT_TRUE(typeText(right));
    ASSERT_TRUE(focusedFieldReads(AtSpiNode::passwordText, masked(right)));
    ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
    const auto logins = [this] { return host.service().requests(QStringLiteral("auth/login")).size(); };
    const auto item = itemShowing(carriesEmoji);
    ASSERT_TRUE(item) << "not signed in, or no item on the tray; " << logins() << " sign-in attempts; " << whatHappened();

    // Then a session as a person has it: the longest custom text, then German and back.
    ASSERT_TRUE(item->activate(0, 0));
    ASSERT_TRUE(windowFocused(panelWidth)) << whatHappened();
    ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
    ASSERT_TRUE(windowFocused(pickerWidth));
    const QString longest = QStringLiteral("Out for a long walk by the river, back when the sun sets....");
    ASSERT_EQ(longest.size(), 60);
    ASSERT_TRUE(typeKeys({QStringLiteral("shift+Tab")}));
    ASSERT_TRUE(typeText(longest));
    ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
    EXPECT_TRUE(published(longest)) << "the custom text was not published";
    const QString english = item->menuEntries().value(0).label;
    ASSERT_TRUE(item->clickMenuEntry(item->menuEntries().value(2).id));
    ASSERT_TRUE(windowFocused(settingsWidth)) << "no settings window; " << whatHappened();
    // From the end of the form: past the sign-out button to the language.
    ASSERT_TRUE(typeKeys({QStringLiteral("shift+Tab"), QStringLiteral("shift+Tab"), QStringLiteral("Down")}));
    EXPECT_TRUE(QTest::qWaitFor([&item, &english] { return item->menuEntries().value(0).label != english; }, waitMs))
        << "the language did not change";
    ASSERT_TRUE(typeKeys({QStringLiteral("Up")}));
    EXPECT_TRUE(QTest::qWaitFor([&item, &english] { return item->menuEntries().value(0).label == english; }, waitMs));

    const QStringList statuses{QStringLiteral("tired"), QStringLiteral("happy"), QStringLiteral("miss_you")};
    for (int round = 0; round < 12 && program.state() == QProcess::Running; ++round) {
        // A round may end with the panel still open: the next starts from a closed one.
        ASSERT_TRUE(panelOpened(*item)) << "round " << round << ": no panel; " << whatHappened();
        switch (round % 4) {
        case 0: // the picker open, a chip chosen, the panel toggled away at once
            ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
            ASSERT_TRUE(windowFocused(pickerWidth)) << "round " << round << ": no picker";
            typeKeys({QStringLiteral("Tab"), QStringLiteral("Tab"), QStringLiteral("Return")});
            item->activate(0, 0);
            break;
        case 1: // a push arriving while the panel opens
            publishAsMainPerson(host, statuses.at(round % statuses.size()));
            item->activate(0, 0);
            break;
        case 2: // the picker open and closed with Escape, then the panel too
            ASSERT_TRUE(typeKeys({QStringLiteral("Return")}));
            typeKeys({QStringLiteral("Escape"), QStringLiteral("Escape")});
            break;
        default: // toggled while the picker still loads
            typeKeys({QStringLiteral("Return")});
            item->activate(0, 0);
            item->activate(0, 0);
            item->activate(0, 0);
            break;
        }
    }
    // Then a burst, a toggle every quarter of a second and a push among them.
    for (int toggle = 0; toggle < 40 && program.state() == QProcess::Running; ++toggle) {
        item->activate(0, 0);
        if (toggle % 10 == 5)
            publishAsMainPerson(host, statuses.at(toggle % statuses.size()));
        QTest::qWait(250);
    }
    ASSERT_EQ(program.state(), QProcess::Running) << whatHappened();
    EXPECT_TRUE(panelOpened(*item)) << "the panel no longer opens; " << whatHappened();
}
