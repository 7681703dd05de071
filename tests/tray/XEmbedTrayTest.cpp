// The tray item on an XEmbed tray (trayer) under Xvfb: the heart shows in
// the tray whether the tray was there first or started later. A suite of
// its own, because Qt keeps its first choice of tray protocol for the life
// of the process.
#include "support/AppStackFixture.h"
#include "i18n/TextLookup.h"
#include "prefs/MenuBarPreferences.h"
#include "tray/TrayItem.h"

#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QTest>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

constexpr int waitMs = 10000;

// Pixels of the heart's rose anywhere on the screen. The last screen seen
// is left in the build folder for a person to look at.
int rosePixelsOnScreen()
{
    const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    screen.save(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tray-xembed-screen.png")));
    int rose = 0;
    for (int y = 0; y < screen.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(screen.constScanLine(y));
        for (int x = 0; x < screen.width(); ++x) {
            const QColor c(line[x]);
            rose += c.hue() >= 320 && c.hue() <= 345 && c.hsvSaturation() > 120 && c.value() > 150 ? 1 : 0;
        }
    }
    return rose;
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
        trayer.start(QStringLiteral("trayer"), {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                                                QStringLiteral("right"), QStringLiteral("--widthtype"),
                                                QStringLiteral("request"), QStringLiteral("--height"), QStringLiteral("32")});
        return trayer.waitForStarted() && QTest::qWaitFor([] { return TrayItem::trayAvailable(); }, waitMs);
    }

    void createTray() { tray = std::make_unique<TrayItem>(*store, preferences, texts); }

    QProcess trayer;
    MenuBarPreferences preferences{StandardDefaults(PreferencePaths::under(prefsDir.path()))};
    TextLookup texts{[] { return QStringList{QStringLiteral("en-US")}; }};
    std::unique_ptr<TrayItem> tray;
};

TEST_F(TrayItemOnAnXEmbedTray, TheHeartShowsInATrayThatWasThereFirst)
{
    ASSERT_TRUE(startTrayer());
    ASSERT_EQ(rosePixelsOnScreen(), 0);
    createTray();
    EXPECT_TRUE(QTest::qWaitFor([] { return rosePixelsOnScreen() > 20; }, waitMs));
}

TEST_F(TrayItemOnAnXEmbedTray, TheHeartShowsInATrayThatStartsLater)
{
    createTray();
    ASSERT_TRUE(startTrayer());
    EXPECT_TRUE(QTest::qWaitFor([] { return rosePixelsOnScreen() > 20; }, waitMs));
}
