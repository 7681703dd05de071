// The tray item as a desktop panel sees it: a StatusNotifierWatcher and host
// on the test bus reads the item's pictures, tooltip and menu over D-Bus and
// clicks it, while the session runs against the local fake service.
#include "support/AppStackFixture.h"
#include "support/StatusNotifierItemClient.h"
#include "support/StatusNotifierWatcher.h"
#include "TrayTestSupport.h"
#include "domain/StatusCatalog.h"
#include "i18n/TextLookup.h"
#include "prefs/MenuBarPreferences.h"
#include "tray/TrayItem.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

#include <functional>

using namespace vorlie;
using namespace vorlie::testing;

constexpr int waitMs = 5000;

class TrayItemOnATray : public AppStackFixture {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside tools/test-session.sh";
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "needs an X server";
        texts.apply(AppLanguage::english);
    }

    // The item the tray shows, once it has registered.
    std::unique_ptr<StatusNotifierItemClient> itemOnTray()
    {
        if (!QTest::qWaitFor([this] { return !watcher.registeredItems().isEmpty(); }, waitMs))
            return nullptr;
        return std::make_unique<StatusNotifierItemClient>(watcher.registeredItems().constLast());
    }

    // The main person publishes, as their own app would, and this app syncs.
    void mainPersonPublishes(const QString &statusKey, const std::optional<QString> &customText = std::nullopt)
    {
        const HttpAnswer answer = publishAsMainPerson(host, statusKey, customText);
        ASSERT_EQ(answer.status, 200) << answer.body.toStdString();
        ASSERT_TRUE(resultOf(store->refresh()));
    }

    static QString toolTipFor(const QString &statusText) { return qtTrId("vorlie") + QLatin1Char('\n') + statusText; }

    StatusNotifierWatcher watcher;
    MenuBarPreferences preferences{StandardDefaults(PreferencePaths::under(prefsDir.path()))};
    TextLookup texts{[] { return QStringList{QStringLiteral("en-US")}; }};
    std::unique_ptr<TrayItem> tray;
};

// The emoji follows the main person's status; a status without one, or a
// signed-out session, shows the bare heart, and the tooltip says which. A
// new picture is drawn only when the emoji or the scale changes.
TEST_F(TrayItemOnATray, ShowsTheMainPersonsEmojiAndFollowsTheirStatusUntilSignOut)
{
    // Signed in, the main person's status published, then the tray made.
    ASSERT_TRUE(watcher.start());
    startSignedIn();
    mainPersonPublishes(QStringLiteral("tired"));
    tray = std::make_unique<TrayItem>(*store, preferences, texts);
    const auto item = itemOnTray();
    ASSERT_TRUE(item);
    auto newIconsSinceRead = [&item, seen = 0]() mutable {
        item->status(); // signals sent before the answer have arrived
        const int fresh = item->newIconCount() - seen;
        seen = item->newIconCount();
        return fresh;
    };
    newIconsSinceRead();

    // Trays and Qt's own tooltip render rich text only when it looks like markup.
    const QString markup = QStringLiteral("<b>bold</b> <a href=\"https://example.com\">link</a>");
    const struct {
        const char *what;
        std::function<void()> change;
        bool emoji;
        QString toolTip;
        int newIcons;
    } steps[] = {
        {"signed in", [] {}, true, toolTipFor(displayText(*store->mainPersonStatus())), 0},
        {"syncs with nothing new, and a new status with the same emoji", [&] {
             for (int i = 0; i < 3; ++i)
                 ASSERT_TRUE(resultOf(store->refresh()));
             mainPersonPublishes(QStringLiteral("tired"));
         }, true, {}, 0},
        {"a custom text that looks like markup", [&] { mainPersonPublishes(QStringLiteral("custom"), markup); }, false, toolTipFor(markup), 1},
        {"another custom text", [&] { mainPersonPublishes(QStringLiteral("custom"), QStringLiteral("two")); }, false,
         toolTipFor(QStringLiteral("two")), 0},
        {"a status with an emoji again", [&] { mainPersonPublishes(QStringLiteral("home")); }, true, {}, 1},
        {"twice the scale", [&] { tray->setScale(2.0); }, true, {}, 1},
        {"the same scale again", [&] { tray->setScale(2.0); }, true, {}, 0},
        {"signed out", [&] { resultOf(store->signOut()); }, false, toolTipFor(qtTrId("home.no_status")), 1},
    };
    for (const auto &step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_EQ(newIconsSinceRead(), step.newIcons);
        const QList<QImage> pictures = item->iconPixmaps();
        ASSERT_FALSE(pictures.isEmpty());
        EXPECT_LE(pictures.constFirst().width(), 64);
        EXPECT_EQ(carriesEmoji(pictures.constFirst()), step.emoji);
        if (!step.toolTip.isEmpty()) {
            EXPECT_EQ(item->toolTipTitle(), step.toolTip);
        }
        EXPECT_FALSE(Qt::mightBeRichText(item->toolTipTitle().value_or(QString())));
    }
}

// A tray that starts after the item still gets it, showing the status that
// came while there was none; a click asks for the panel and the menu offers
// it first, then the windows and quit (the program's own tray suite switches
// its language); the setting and a panel restart take the item away and
// bring it back.
TEST_F(TrayItemOnATray, ATrayThatStartsLaterGetsAnItemWhoseClickAndMenuAskForTheirWindows)
{
    tray = std::make_unique<TrayItem>(*store, preferences, texts);
    EXPECT_FALSE(TrayItem::trayAvailable());
    startSignedIn();
    mainPersonPublishes(QStringLiteral("tired"));
    ASSERT_TRUE(watcher.start());
    const auto item = itemOnTray();
    ASSERT_TRUE(item);
    EXPECT_TRUE(TrayItem::trayAvailable());
    const QList<QImage> pictures = item->iconPixmaps();
    ASSERT_FALSE(pictures.isEmpty());
    EXPECT_TRUE(carriesEmoji(pictures.constFirst()));
    QSignalSpy toggles(tray.get(), &TrayItem::panelToggleRequested);
    QSignalSpy panels(tray.get(), &TrayItem::panelRequested);
    QSignalSpy mainWindow(tray.get(), &TrayItem::openMainWindowRequested);
    QSignalSpy settings(tray.get(), &TrayItem::settingsRequested);
    QSignalSpy quits(tray.get(), &TrayItem::quitRequested);

    ASSERT_TRUE(item->activate(40, 10));
    ASSERT_TRUE(QTest::qWaitFor([&toggles] { return toggles.size() == 1; }, waitMs));
    // A StatusNotifierItem tray does not say where the icon is: the pointer must do.
    const auto anchor = toggles.constFirst().constFirst().value<PanelAnchor>();
    EXPECT_EQ(anchor.iconGeometry, std::nullopt);
    EXPECT_EQ(anchor.pointer, QCursor::pos());

    const struct {
        const char *label;
        QSignalSpy &asks;
    } menu[] = {
        {"menubar.show_panel", panels},
        {"menubar.open_vorlie", mainWindow},
        {"menubar.settings", settings},
        {"menubar.quit", quits},
    };
    const auto count = static_cast<qsizetype>(std::size(menu));
    // Each entry, clicked on the tray, asks for its own window or action once.
    const QList<TrayMenuEntry> entries = item->menuEntries();
    ASSERT_EQ(entries.size(), count);
    for (qsizetype i = 0; i < count; ++i) {
        EXPECT_EQ(entries.at(i).label, qtTrId(menu[i].label));
        ASSERT_TRUE(item->clickMenuEntry(entries.at(i).id));
        QSignalSpy &asks = menu[i].asks;
        EXPECT_TRUE(QTest::qWaitFor([&asks] { return asks.size() == 1; }, waitMs)) << menu[i].label;
    }
    for (const auto &entry : menu)
        EXPECT_EQ(entry.asks.size(), 1) << entry.label;
    EXPECT_EQ(toggles.size(), 1);

    preferences.setIconEnabled(false);
    EXPECT_TRUE(QTest::qWaitFor([this] { return watcher.registeredItems().isEmpty(); }, waitMs));
    preferences.setIconEnabled(true);
    EXPECT_TRUE(itemOnTray());

    // The panel restarts: the item comes back.
    watcher.stop();
    ASSERT_TRUE(watcher.start());
    ASSERT_TRUE(itemOnTray());
}
