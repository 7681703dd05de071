#pragma once

#include "WireEnum.h"
#include "json/JsonCodec.h"

#include <optional>

namespace vorlie {

enum class SkinTone { warm1, warm2, warm3, neutral1, neutral2, cool1, cool2, deep1, deep2 };
enum class HairStyle { bald, short1, short2, short3, curly, long1, long2, bun, buzz };
enum class HairColor { black, brown, blonde, red, gray, blue, pink };
enum class Outfit { tshirt, hoodie, shirt, sweater, jacket };
enum class OutfitColor { black, white, gray, navy, green, red, yellow, pink, purple };
enum class Accessory { none, glasses, sunglasses, earrings, headphones, beanie };
// `default` is a keyword, hence the trailing underscore.
enum class Expression { default_, smile, grin };
enum class Sex { male, female, none };

// A person's cartoon avatar as eight choices; the picture itself comes from
// the external rendering service (see AvatarImageURL.h).
struct AvatarConfiguration {
    SkinTone skinTone = SkinTone::warm1;
    HairStyle hairStyle = HairStyle::short1;
    HairColor hairColor = HairColor::black;
    Outfit outfit = Outfit::tshirt;
    OutfitColor outfitColor = OutfitColor::black;
    Accessory accessory = Accessory::none;
    Expression expression = Expression::default_;
    Sex sex = Sex::none;

    friend bool operator==(const AvatarConfiguration &, const AvatarConfiguration &) = default;
};

template<>
struct WireNames<SkinTone> {
    static constexpr std::array<std::pair<SkinTone, std::string_view>, 9> cases{{
        {SkinTone::warm1, "warm_1"},
        {SkinTone::warm2, "warm_2"},
        {SkinTone::warm3, "warm_3"},
        {SkinTone::neutral1, "neutral_1"},
        {SkinTone::neutral2, "neutral_2"},
        {SkinTone::cool1, "cool_1"},
        {SkinTone::cool2, "cool_2"},
        {SkinTone::deep1, "deep_1"},
        {SkinTone::deep2, "deep_2"},
    }};
};

template<>
struct WireNames<HairStyle> {
    static constexpr std::array<std::pair<HairStyle, std::string_view>, 9> cases{{
        {HairStyle::bald, "bald"},
        {HairStyle::short1, "short_1"},
        {HairStyle::short2, "short_2"},
        {HairStyle::short3, "short_3"},
        {HairStyle::curly, "curly"},
        {HairStyle::long1, "long_1"},
        {HairStyle::long2, "long_2"},
        {HairStyle::bun, "bun"},
        {HairStyle::buzz, "buzz"},
    }};
};

template<>
struct WireNames<HairColor> {
    static constexpr std::array<std::pair<HairColor, std::string_view>, 7> cases{{
        {HairColor::black, "black"},
        {HairColor::brown, "brown"},
        {HairColor::blonde, "blonde"},
        {HairColor::red, "red"},
        {HairColor::gray, "gray"},
        {HairColor::blue, "blue"},
        {HairColor::pink, "pink"},
    }};
};

template<>
struct WireNames<Outfit> {
    static constexpr std::array<std::pair<Outfit, std::string_view>, 5> cases{{
        {Outfit::tshirt, "tshirt"},
        {Outfit::hoodie, "hoodie"},
        {Outfit::shirt, "shirt"},
        {Outfit::sweater, "sweater"},
        {Outfit::jacket, "jacket"},
    }};
};

template<>
struct WireNames<OutfitColor> {
    static constexpr std::array<std::pair<OutfitColor, std::string_view>, 9> cases{{
        {OutfitColor::black, "black"},
        {OutfitColor::white, "white"},
        {OutfitColor::gray, "gray"},
        {OutfitColor::navy, "navy"},
        {OutfitColor::green, "green"},
        {OutfitColor::red, "red"},
        {OutfitColor::yellow, "yellow"},
        {OutfitColor::pink, "pink"},
        {OutfitColor::purple, "purple"},
    }};
};

template<>
struct WireNames<Accessory> {
    static constexpr std::array<std::pair<Accessory, std::string_view>, 6> cases{{
        {Accessory::none, "none"},
        {Accessory::glasses, "glasses"},
        {Accessory::sunglasses, "sunglasses"},
        {Accessory::earrings, "earrings"},
        {Accessory::headphones, "headphones"},
        {Accessory::beanie, "beanie"},
    }};
};

template<>
struct WireNames<Expression> {
    static constexpr std::array<std::pair<Expression, std::string_view>, 3> cases{{
        {Expression::default_, "default"},
        {Expression::smile, "smile"},
        {Expression::grin, "grin"},
    }};
};

template<>
struct WireNames<Sex> {
    static constexpr std::array<std::pair<Sex, std::string_view>, 3> cases{{
        {Sex::male, "male"},
        {Sex::female, "female"},
        {Sex::none, "none"},
    }};
};

template<>
struct JsonCodec<AvatarConfiguration> {
    static std::optional<AvatarConfiguration> decode(JsonView value);
    static QJsonValue encode(const AvatarConfiguration &avatar);
};

} // namespace vorlie
