#include "AvatarConfiguration.h"

namespace vorlie {

using namespace Qt::StringLiterals;

std::optional<AvatarConfiguration> JsonCodec<AvatarConfiguration>::decode(JsonView o)
{
    if (!o.isObject())
        return std::nullopt;
    AvatarConfiguration a;
    std::optional<Sex> sex;
    if (!json::readRequired(o, "skinTone"_L1, a.skinTone) || !json::readRequired(o, "hairStyle"_L1, a.hairStyle)
        || !json::readRequired(o, "hairColor"_L1, a.hairColor) || !json::readRequired(o, "outfit"_L1, a.outfit)
        || !json::readRequired(o, "outfitColor"_L1, a.outfitColor) || !json::readRequired(o, "accessory"_L1, a.accessory)
        || !json::readRequired(o, "expression"_L1, a.expression) || !json::readOptional(o, "sex"_L1, sex))
        return std::nullopt;
    // Avatars saved before sex was a choice carry no key for it.
    a.sex = sex.value_or(Sex::none);
    return a;
}

QJsonValue JsonCodec<AvatarConfiguration>::encode(const AvatarConfiguration &a)
{
    QJsonObject o;
    json::write(o, "skinTone"_L1, a.skinTone);
    json::write(o, "hairStyle"_L1, a.hairStyle);
    json::write(o, "hairColor"_L1, a.hairColor);
    json::write(o, "outfit"_L1, a.outfit);
    json::write(o, "outfitColor"_L1, a.outfitColor);
    json::write(o, "accessory"_L1, a.accessory);
    json::write(o, "expression"_L1, a.expression);
    json::write(o, "sex"_L1, a.sex);
    return o;
}

} // namespace vorlie
