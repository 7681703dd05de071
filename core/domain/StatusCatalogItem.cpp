#include "StatusCatalogItem.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<StatusCatalogItem> JsonCodec<StatusCatalogItem>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    StatusCatalogItem item;
    if (!json::readRequired(o, "key"_L1, item.key) || !json::readRequired(o, "text"_L1, item.text)
        || !json::readOptional(o, "emoji"_L1, item.emoji) || !json::readRequired(o, "category"_L1, item.category)
        || !json::readRequired(o, "visualState"_L1, item.visualState)
        || !json::readRequired(o, "isFavorite"_L1, item.isFavorite))
        return std::nullopt;
    return item;
}

QJsonValue JsonCodec<StatusCatalogItem>::encode(const StatusCatalogItem &item)
{
    QJsonObject o;
    json::write(o, "key"_L1, item.key);
    json::write(o, "text"_L1, item.text);
    json::writeOptional(o, "emoji"_L1, item.emoji);
    json::write(o, "category"_L1, item.category);
    json::write(o, "visualState"_L1, item.visualState);
    json::write(o, "isFavorite"_L1, item.isFavorite);
    return o;
}

} // namespace vorlie
