#pragma once

#include "FakeServiceHost.h"
#include "push/PushTestSupport.h"

#include <QColor>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace vorlie::testing {

// Whether a tray picture carries an emoji: its lower trailing corner, where
// the badge goes, holds clearly coloured pixels that are not the heart's rose.
inline bool carriesEmoji(const QImage &picture)
{
    const int side = picture.width();
    const int badgeStart = side * 4 / 10;
    int coloured = 0;
    for (int y = badgeStart; y < side; ++y) {
        for (int x = badgeStart; x < side; ++x) {
            const QColor c = QColor::fromRgba(picture.pixel(x, y));
            const bool rose = c.hue() >= 320 && c.hue() <= 345;
            coloured += c.alpha() > 200 && c.hsvSaturation() > 80 && !rose ? 1 : 0;
        }
    }
    const int badgeArea = (side - badgeStart) * (side - badgeStart);
    return coloured > badgeArea / 20;
}

// The main person publishes a status, as their own app would.
inline HttpAnswer publishAsMainPerson(fake::FakeServiceHost &host, const QString &statusKey,
                                      const std::optional<QString> &customText = std::nullopt)
{
    QJsonObject body{{"statusKey", statusKey}};
    if (customText)
        body.insert("customText", *customText);
    const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
    return post(QUrl(host.baseUrl().toString() + QStringLiteral("/dev/main-person-status")),
                QJsonDocument(body).toJson(QJsonDocument::Compact), {{"Authorization", "Bearer " + pair.accessToken.toUtf8()}});
}

} // namespace vorlie::testing
