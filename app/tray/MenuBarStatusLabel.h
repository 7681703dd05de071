#pragma once

#include "domain/Status.h"

#include <QIcon>
#include <QImage>
#include <QPainterPath>
#include <QPixmap>
#include <QString>
#include <array>
#include <optional>

namespace vorlie {

// The tray's picture of the main person's status: the heart symbol, and the
// status emoji in colour when there is one to show. Tray slots are square
// and Qt letterboxes anything else, so the emoji sits as a badge in the
// heart's lower trailing corner, parted from it by a transparent ring,
// instead of beside it where both would shrink to half the slot.
class MenuBarStatusLabel {
public:
    // Every logical size a tray may ask for: panels of 16 to 32 px, and the
    // larger ones StatusNotifierItem hosts scale down from.
    static constexpr std::array<int, 6> sizes{16, 22, 24, 32, 48, 64};

    // The emoji to show for the main person's status, if any: none without a
    // status, for an expired one, or when it carries no emoji.
    static std::optional<QString> emojiFor(const std::optional<Status> &status);

    explicit MenuBarStatusLabel(std::optional<QString> emoji = std::nullopt);

    const std::optional<QString> &emoji() const { return m_emoji; }

    // One square picture, `size` logical pixels at `scale` device pixels each.
    QPixmap pixmap(int size, qreal scale) const;
    // Every size of `sizes`, drawn for `scale`.
    QIcon icon(qreal scale) const;

private:
    QPixmap pixmap(const QPainterPath &outline, int size, qreal scale) const;

    std::optional<QString> m_emoji;
    // The emoji drawn once, large and cropped to its ink, scaled per size.
    QImage m_emojiImage;
};

} // namespace vorlie
