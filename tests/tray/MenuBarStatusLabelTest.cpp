// The tray picture: which emoji it shows, and that every size a tray asks
// for carries a recognisable heart and, when there is one, the emoji in
// colour.
#include "TrayTestSupport.h"
#include "tray/MenuBarStatusLabel.h"

#include <gtest/gtest.h>

using namespace vorlie;
using vorlie::testing::carriesEmoji;

namespace {

Status statusWith(std::optional<QString> emoji, bool expired = false, StatusFreshness freshness = StatusFreshness::fresh)
{
    Status status;
    status.id = QStringLiteral("s1");
    status.statusKey = QStringLiteral("tired");
    status.emoji = std::move(emoji);
    status.isExpired = expired;
    status.freshness = freshness;
    return status;
}

const QColor heart(0xE0, 0x3A, 0x78);

bool isHeartColoured(QRgb pixel)
{
    return std::abs(qRed(pixel) - heart.red()) < 40 && std::abs(qGreen(pixel) - heart.green()) < 40
        && std::abs(qBlue(pixel) - heart.blue()) < 40;
}

QImage straight(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

double inkShare(const QImage &image, const QRect &area)
{
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ink += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return double(ink) / (area.width() * area.height());
}

} // namespace

// Signed out, no status at all: the tray item's suite.
TEST(MenuBarEmoji, OnlyAnUnexpiredStatusWithAnEmojiShowsOne)
{
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(std::nullopt)), std::nullopt);
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral(" "))), std::nullopt);

    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"))), QStringLiteral("😴"));
    // Only the service's expiry counts: a stale status still shows, and an
    // expired one hides even when called fresh.
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"), false, StatusFreshness::stale)),
              QStringLiteral("😴"));
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"), true, StatusFreshness::fresh)), std::nullopt);
}

// Every size a tray asks for, at both scales: the heart, and the emoji in
// colour in the lower trailing corner when there is one.
TEST(MenuBarStatusLabel, EverySizeAtBothScalesCarriesTheHeartAndTheEmojiInColourTheSameForTheSameEmoji)
{
    for (const std::optional<QString> &emoji : {std::optional<QString>(), std::optional<QString>(QStringLiteral("😴")),
                                                std::optional<QString>(QStringLiteral("☕")), std::optional<QString>(QStringLiteral("🏠"))}) {
        const MenuBarStatusLabel label(emoji);
        for (const qreal scale : {1.0, 2.0}) {
            for (const int size : MenuBarStatusLabel::sizes) {
                SCOPED_TRACE(::testing::Message() << emoji.value_or(QStringLiteral("bare")).toStdString() << ' ' << size << " at " << scale);
                const QPixmap pixmap = label.pixmap(size, scale);
                EXPECT_EQ(pixmap.size(), QSize(size, size) * scale);
                EXPECT_EQ(pixmap.devicePixelRatio(), scale);
                const QImage image = straight(pixmap);
                const int side = image.width();
                if (!emoji) {
                    // Solid in the middle, open at the bottom corners where a heart
                    // narrows to its tip (a missing glyph's box would fill them).
                    EXPECT_TRUE(isHeartColoured(image.pixel(side / 2, side / 2)));
                    EXPECT_EQ(qAlpha(image.pixel(1, side - 2)), 0);
                    EXPECT_EQ(qAlpha(image.pixel(side - 2, side - 2)), 0);
                    const double ink = inkShare(image, image.rect());
                    EXPECT_GT(ink, 0.35);
                    EXPECT_LT(ink, 0.8);
                    EXPECT_FALSE(carriesEmoji(image));
                    continue;
                }
                EXPECT_TRUE(carriesEmoji(image));
                // The heart still shows beside it.
                EXPECT_TRUE(isHeartColoured(image.pixel(side / 4, side / 3)));
            }
        }
        QList<QSize> expected;
        for (const int size : MenuBarStatusLabel::sizes)
            expected.append(QSize(size, size));
        EXPECT_EQ(label.icon(1.0).availableSizes(), expected);
    }
    // The same emoji draws the same picture, another a different one.
    const QImage sleepy = straight(MenuBarStatusLabel(QStringLiteral("😴")).pixmap(22, 1.0));
    EXPECT_EQ(straight(MenuBarStatusLabel(QStringLiteral("😴")).pixmap(22, 1.0)), sleepy);
    EXPECT_NE(straight(MenuBarStatusLabel(QStringLiteral("☕")).pixmap(22, 1.0)), sleepy);
    EXPECT_NE(straight(MenuBarStatusLabel().pixmap(22, 1.0)), sleepy);
}
