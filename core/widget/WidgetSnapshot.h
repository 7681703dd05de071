#pragma once

#include "domain/AvatarConfiguration.h"
#include "domain/StatusVisualState.h"
#include "json/JsonCodec.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace vorlie {

// Everything the desktop widget shows of the main person, already resolved
// to display texts, so the widget never talks to the service.
struct WidgetSnapshot {
    QString personID;
    QString displayName;
    AvatarConfiguration avatar;
    QString statusText; // in the interface language active when it was written
    std::optional<QString> emoji;
    StatusVisualState visualState = StatusVisualState::neutral;
    QDateTime updatedAt;
    bool isExpired = true;
    std::optional<QByteArray> avatarImageData; // PNG
    // Present only while the application cannot reach the service: when
    // what is shown was last current. Older snapshots have none.
    std::optional<QDateTime> offlineUpdatedAt;

    friend bool operator==(const WidgetSnapshot &, const WidgetSnapshot &) = default;
};

template<>
struct JsonCodec<WidgetSnapshot> {
    static std::optional<WidgetSnapshot> decode(JsonView value);
    static QJsonValue encode(const WidgetSnapshot &snapshot);
};

} // namespace vorlie
