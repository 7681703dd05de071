// The tray item on an XEmbed tray (trayer) under Xvfb: the heart, and the
// emoji with it, show in the tray whether the tray was there first or
// started later. A suite of its own, because Qt keeps its first choice of
// tray protocol for the life of the process.
#include "support/AppStackFixture.h"
#include "TrayTestSupport.h"
#include "i18n/TextLookup.h"
#include "prefs/MenuBarPreferences.h"
#include "tray/TrayItem.h"

#include <QProcess>
#include <QScreen>
#include <QTest>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

constexpr int waitMs = 10000;

// Clearly coloured pixels anywhere on the screen: the heart's rose, and
// any other hue (an emoji).
struct ScreenColours {
    int rose = 0;
    int other = 0;
};

ScreenColours coloursOnScreen()
{
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    ScreenColours colours;
    for (int y = 0; y < screen.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            const QColor c(line[x]);
            if (c.hsvSaturation() <= 120 || c.value() <= 150)
                continue;
            (c.hue() >= 320 && c.hue() <= 345 ? colours.rose : colours.other) += 1;
        }
    }
    return colours;
}

bool heartShown()
{
    return QTest::qWaitFor([] { return coloursOnScreen().rose > 20; }, waitMs);
}

} // namespace

class TrayItemOnAnXEmbedTray : public AppStackFixture {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "needs an X server";
        ASSERT_FALSE(TrayItem::trayAvailable()) << "a tray is already running";
        texts.apply(AppLanguage::english);
    }

    ~TrayItemOnAnXEmbedTray() override
    {
        tray.reset();
        trayer.kill();
        trayer.waitForFinished();
    }

    bool startTrayer()
    {
        trayer.start(QStringLiteral("trayer"), QStringLiteral("--edge top --align right --widthtype request --height 32").split(u' '));
        return trayer.waitForStarted() && QTest::qWaitFor([] { return TrayItem::trayAvailable(); }, waitMs);
    }

    void createTray() { tray = std::make_unique<TrayItem>(*store, preferences, texts); }

    QProcess trayer;
    MenuBarPreferences preferences{StandardDefaults(PreferencePaths::under(prefsDir.path()))};
    TextLookup texts{[] { return QStringList{QStringLiteral("en-US")}; }};
    std::unique_ptr<TrayItem> tray;
};

TEST_F(TrayItemOnAnXEmbedTray, TheHeartAndTheEmojiShowInATrayThatWasThereFirst)
{
    startSignedIn();
    ASSERT_EQ(publishAsMainPerson(host, QStringLiteral("tired")).status, 200);
    ASSERT_TRUE(resultOf(store->refresh()));
    ASSERT_TRUE(startTrayer());
    const ScreenColours before = coloursOnScreen();
    ASSERT_EQ(before.rose + before.other, 0);

    createTray();
    ASSERT_TRUE(heartShown());
    EXPECT_GT(coloursOnScreen().other, 20);
}

TEST_F(TrayItemOnAnXEmbedTray, TheHeartShowsInATrayThatStartsLater)
{
    createTray();
    ASSERT_TRUE(startTrayer());
    EXPECT_TRUE(heartShown());
}
