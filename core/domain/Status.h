#pragma once

#include "StatusCategory.h"
#include "StatusFreshness.h"
#include "StatusSource.h"
#include "StatusVisualState.h"
#include "json/JsonCodec.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace vorlie {

// A published status, taken exactly as the service sends it; `freshness`
// and `isExpired` are never recomputed here.
struct Status {
    QString id;
    // A built-in or service catalogue key, or "custom" for a free text.
    std::optional<QString> statusKey;
    std::optional<QString> text;
    // One grapheme, possibly several code points.
    std::optional<QString> emoji;
    StatusCategory category = StatusCategory::custom;
    StatusVisualState visualState = StatusVisualState::neutral;
    StatusSource source = StatusSource::manual;
    QDateTime createdAt;
    StatusFreshness freshness = StatusFreshness::fresh;
    bool isExpired = false;

    friend bool operator==(const Status &, const Status &) = default;
};

template<>
struct JsonCodec<Status> {
    static std::optional<Status> decode(JsonView value);
    static QJsonValue encode(const Status &status);
};

} // namespace vorlie
