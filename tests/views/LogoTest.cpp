// The logo the views draw from paths is the app icon's drawing: rendered
// side by side at a large size, they differ only along antialiased edges.
#include "ViewWorld.h"

#include <QPainter>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

constexpr int side = 128;

QImage iconDrawing(const QColor &background)
{
    QProcess rsvg;
    rsvg.start(QStringLiteral("rsvg-convert"),
               {QStringLiteral("--width"), QString::number(side), QStringLiteral("--height"), QString::number(side),
                QStringLiteral(VORLIE_SOURCE_DIR "/data/icons/hicolor/scalable/apps/com.vorlia.app.svg")});
    if (!rsvg.waitForFinished(10'000) || rsvg.exitCode() != 0)
        return {};
    QImage drawn(side, side, QImage::Format_RGB32);
    drawn.fill(background);
    QPainter painter(&drawn);
    painter.drawImage(0, 0, QImage::fromData(rsvg.readAllStandardOutput(), "PNG"));
    return drawn;
}

TEST(LogoTest, TheDrawnLogoIsTheAppIconsDrawing)
{
    ViewWorld world;
    std::unique_ptr<QQuickItem> logo(
        qobject_cast<QQuickItem *>(world.ui.create(QUrl(QStringLiteral("qrc:/Vorlie/Theme/Logo.qml")), {{"size", side}})));
    ASSERT_TRUE(logo);
    const std::unique_ptr<QQuickWindow> window = ViewWorld::show(logo.get());
    ASSERT_TRUE(ViewWorld::spinUntil([&] { return window->isExposed(); }));
    const QImage shown = window->grabWindow().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(side, side));
    const QImage icon = iconDrawing(shown.pixelColor(0, 0));
    ASSERT_FALSE(icon.isNull()) << "rsvg-convert (librsvg2-bin) did not draw the icon";

    int far = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QColor a = shown.pixelColor(x, y);
            const QColor b = icon.pixelColor(x, y);
            if (std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())}) > 48)
                ++far;
        }
    }
    EXPECT_LT(far, side * side / 400) << far << " pixels differ";
}

} // namespace
} // namespace vorlie::testing
