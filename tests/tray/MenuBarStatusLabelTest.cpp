// The tray picture: which emoji it shows, and that every size a tray asks
// for carries a recognisable heart and, when there is one, the emoji in
// colour. Each run leaves contact sheets (light and dark panels) in the
// build folder for a person to look at.
#include "tray/MenuBarStatusLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QPainter>
#include <gtest/gtest.h>

using namespace vorlie;

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

// What the emoji adds to an area: opaque pixels not in the heart's colour,
// and among them those of a clear colour (a black-and-white fallback glyph
// has none).
struct EmojiInk {
    double opaque = 0;
    double coloured = 0;
};

EmojiInk emojiInk(const QImage &image, const QRect &area)
{
    int opaque = 0;
    int coloured = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = QColor::fromRgba(image.pixel(x, y));
            if (c.alpha() < 200 || isHeartColoured(c.rgba()))
                continue;
            ++opaque;
            coloured += c.hsvSaturation() > 80 ? 1 : 0;
        }
    }
    const double pixels = area.width() * area.height();
    return {opaque / pixels, coloured / pixels};
}

// Every size at both scales on a light and a dark panel, side by side.
void writeContactSheet(const MenuBarStatusLabel &label, const QString &name)
{
    const QList<qreal> scales{1.0, 2.0};
    const int cell = 140;
    QImage sheet(cell * int(MenuBarStatusLabel::sizes.size()), cell * 2 * int(scales.size()), QImage::Format_ARGB32);
    QPainter painter(&sheet);
    for (int row = 0; row < 2 * scales.size(); ++row) {
        const qreal scale = scales.at(row / 2);
        painter.fillRect(0, row * cell, sheet.width(), cell, row % 2 ? QColor(0x2B, 0x2B, 0x2B) : QColor(0xF2, 0xF2, 0xF2));
        for (size_t column = 0; column < MenuBarStatusLabel::sizes.size(); ++column) {
            QImage picture = label.pixmap(MenuBarStatusLabel::sizes[column], scale).toImage();
            picture.setDevicePixelRatio(1.0);
            painter.drawImage(int(column) * cell + 4, row * cell + 4, picture);
        }
    }
    painter.end();
    sheet.save(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("tray-label-%1.png").arg(name)));
}

} // namespace

TEST(MenuBarEmoji, OnlyAnUnexpiredStatusWithAnEmojiShowsOne)
{
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(std::nullopt), std::nullopt);
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"), true)), std::nullopt);
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(std::nullopt)), std::nullopt);
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QString())), std::nullopt);
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral(" "))), std::nullopt);

    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"))), QStringLiteral("😴"));
    // Only the service's expiry counts: a stale status still shows, and an
    // expired one hides even when called fresh.
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"), false, StatusFreshness::stale)),
              QStringLiteral("😴"));
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(QStringLiteral("😴"), true, StatusFreshness::fresh)), std::nullopt);
    // A family emoji is several code points and one picture.
    const QString family = QStringLiteral("👩‍👩‍👧");
    EXPECT_EQ(MenuBarStatusLabel::emojiFor(statusWith(family)), family);
}

TEST(MenuBarStatusLabel, EverySizeIsInTheIconAtBothScales)
{
    const MenuBarStatusLabel label(QStringLiteral("☕"));
    for (const qreal scale : {1.0, 2.0}) {
        for (const int size : MenuBarStatusLabel::sizes) {
            const QPixmap pixmap = label.pixmap(size, scale);
            EXPECT_EQ(pixmap.size(), QSize(size, size) * scale) << size << " at " << scale;
            EXPECT_EQ(pixmap.devicePixelRatio(), scale);
            EXPECT_EQ(pixmap.deviceIndependentSize(), QSizeF(size, size));
        }
    }
    QList<QSize> expected;
    for (const int size : MenuBarStatusLabel::sizes)
        expected.append(QSize(size, size));
    EXPECT_EQ(label.icon(1.0).availableSizes(), expected);
}

TEST(MenuBarStatusLabel, TheBareHeartIsAHeartInItsOwnColourAtEverySize)
{
    const MenuBarStatusLabel bare;
    writeContactSheet(bare, QStringLiteral("bare"));
    for (const qreal scale : {1.0, 2.0}) {
        for (const int size : MenuBarStatusLabel::sizes) {
            const QImage image = straight(bare.pixmap(size, scale));
            const int side = image.width();
            SCOPED_TRACE(testing::Message() << side << " px");
            // Solid in the middle, open at the bottom corners where a heart
            // narrows to its tip (a missing glyph's box would fill them).
            EXPECT_TRUE(isHeartColoured(image.pixel(side / 2, side / 2)));
            EXPECT_EQ(qAlpha(image.pixel(1, side - 2)), 0);
            EXPECT_EQ(qAlpha(image.pixel(side - 2, side - 2)), 0);
            const double ink = inkShare(image, image.rect());
            EXPECT_GT(ink, 0.35);
            EXPECT_LT(ink, 0.8);
            EXPECT_EQ(emojiInk(image, image.rect()).opaque, 0.0);
        }
    }
}

TEST(MenuBarStatusLabel, AnEmojiSitsInColourInTheLowerTrailingCorner)
{
    for (const QString &emoji : {QStringLiteral("😴"), QStringLiteral("☕"), QStringLiteral("🏠")}) {
        const MenuBarStatusLabel label(emoji);
        writeContactSheet(label, QString::number(emoji.at(0).unicode(), 16));
        for (const qreal scale : {1.0, 2.0}) {
            for (const int size : MenuBarStatusLabel::sizes) {
                const QImage image = straight(label.pixmap(size, scale));
                const int side = image.width();
                SCOPED_TRACE(testing::Message() << emoji.toStdString() << " at " << side << " px");
                const QRect badge(side - side * 6 / 10, side - side * 6 / 10, side * 6 / 10, side * 6 / 10);
                const EmojiInk ink = emojiInk(image, badge);
                EXPECT_GT(ink.opaque, 0.3);
                EXPECT_GT(ink.coloured, 0.05);
                // The heart still shows beside it.
                EXPECT_TRUE(isHeartColoured(image.pixel(side / 4, side / 3)));
            }
        }
    }
}

TEST(MenuBarStatusLabel, TheSameEmojiDrawsTheSamePictureAndAnotherADifferentOne)
{
    const QImage sleepy = straight(MenuBarStatusLabel(QStringLiteral("😴")).pixmap(22, 1.0));
    EXPECT_EQ(straight(MenuBarStatusLabel(QStringLiteral("😴")).pixmap(22, 1.0)), sleepy);
    EXPECT_NE(straight(MenuBarStatusLabel(QStringLiteral("☕")).pixmap(22, 1.0)), sleepy);
    EXPECT_NE(straight(MenuBarStatusLabel().pixmap(22, 1.0)), sleepy);
}
