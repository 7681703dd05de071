#include "MenuBarStatusLabel.h"

#include "Symbols.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace vorlie {

namespace {

// A rose of middle lightness: over 3:1 against white, black and the light
// and dark greys of panels (4.2, 5.1, 3.7 on #F2F2F2, 3.4 on #2B2B2B), so
// the heart reads whatever the desktop's theme.
const QColor heartColour(0xE0, 0x3A, 0x78);

// The emoji's share of the square, and the transparent ring around it.
constexpr qreal badgeShare = 0.64;
constexpr qreal ringShare = 0.07;

// Large enough that every tray size is a downscale of it.
constexpr int emojiRasterSize = 160;

QImage rasterizeEmoji(const QString &emoji)
{
    QImage canvas(emojiRasterSize, emojiRasterSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        QFont font(QStringLiteral("Noto Color Emoji"));
        font.setPixelSize(emojiRasterSize * 3 / 4);
        painter.setFont(font);
        painter.drawText(canvas.rect(), Qt::AlignCenter, emoji);
    }
    // Crop to the ink: the font's advance and line boxes differ per glyph.
    QRect ink;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x) {
            if (qAlpha(line[x]) > 0)
                ink |= QRect(x, y, 1, 1);
        }
    }
    return ink.isEmpty() ? QImage() : canvas.copy(ink);
}

// The symbol's outline at the font's size; laying it out is the dear part of
// a picture, so every size of one icon scales the same outline.
QPainterPath symbolOutline()
{
    QFont font(Symbols::family());
    font.setPixelSize(100);
    QPainterPath path;
    path.addText(0, 0, font, Symbols::glyph(QStringLiteral("heart.text.square.fill")));
    return path;
}

// `outline` scaled to fit `box` and centred in it.
QPainterPath fitted(const QPainterPath &outline, const QRectF &box)
{
    const QRectF bounds = outline.boundingRect();
    if (bounds.isEmpty())
        return outline;
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    return transform.map(outline);
}

} // namespace

std::optional<QString> MenuBarStatusLabel::emojiFor(const std::optional<Status> &status)
{
    if (!status || status->isExpired || !status->emoji || status->emoji->trimmed().isEmpty())
        return std::nullopt;
    return status->emoji;
}

MenuBarStatusLabel::MenuBarStatusLabel(std::optional<QString> emoji)
    : m_emoji(std::move(emoji)),
      m_emojiImage(m_emoji ? rasterizeEmoji(*m_emoji) : QImage())
{
}

QPixmap MenuBarStatusLabel::pixmap(int size, qreal scale) const
{
    return pixmap(symbolOutline(), size, scale);
}

QPixmap MenuBarStatusLabel::pixmap(const QPainterPath &outline, int size, qreal scale) const
{
    const int side = std::max(1, static_cast<int>(std::lround(size * scale)));
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const qreal margin = std::max(1.0, side / 24.0);
    painter.fillPath(fitted(outline, QRectF(0, 0, side, side).adjusted(margin, margin, -margin, -margin)), heartColour);

    if (!m_emojiImage.isNull()) {
        const int badge = static_cast<int>(std::lround(side * badgeShare));
        const QImage emoji = m_emojiImage.scaled(badge, badge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        const QRectF badgeBox(side - badge, side - badge, badge, badge);
        const qreal ring = std::max(1.0, side * ringShare);
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        painter.drawEllipse(badgeBox.center(), badge / 2.0 + ring, badge / 2.0 + ring);
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage(QPointF(badgeBox.center().x() - emoji.width() / 2.0, badgeBox.center().y() - emoji.height() / 2.0),
                          emoji);
    }
    painter.end();

    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    return pixmap;
}

QIcon MenuBarStatusLabel::icon(qreal scale) const
{
    const QPainterPath outline = symbolOutline();
    QIcon icon;
    for (const int size : sizes)
        icon.addPixmap(pixmap(outline, size, scale));
    return icon;
}

} // namespace vorlie
