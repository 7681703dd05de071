#pragma once

#include "StatusCategory.h"
#include "StatusVisualState.h"
#include "json/JsonCodec.h"

#include <QString>
#include <optional>

namespace vorlie {

// One entry of a status catalogue, the service's or the built-in one.
struct StatusCatalogItem {
    QString key;
    QString text;
    std::optional<QString> emoji;
    StatusCategory category = StatusCategory::custom;
    StatusVisualState visualState = StatusVisualState::neutral;
    // The only field the client itself changes.
    bool isFavorite = false;

    friend bool operator==(const StatusCatalogItem &, const StatusCatalogItem &) = default;
};

template<>
struct JsonCodec<StatusCatalogItem> {
    static std::optional<StatusCatalogItem> decode(JsonView value);
    static QJsonValue encode(const StatusCatalogItem &item);
};

} // namespace vorlie
