#include "AvatarOptions.h"

#include <array>
#include <string_view>
#include <utility>

namespace vorlie {
namespace {

template<typename E, std::size_t N>
QString lookup(const std::array<std::pair<E, std::string_view>, N> &table, E value)
{
    for (const auto &[item, option] : table) {
        if (item == value)
            return QString::fromLatin1(option.data(), static_cast<qsizetype>(option.size()));
    }
    return {};
}

constexpr std::array<std::pair<SkinTone, std::string_view>, 9> skinColors{{
    {SkinTone::warm1, "ffdbb4"},
    {SkinTone::warm2, "edb98a"},
    {SkinTone::warm3, "d08b5b"},
    {SkinTone::neutral1, "f1c27d"},
    {SkinTone::neutral2, "c68642"},
    {SkinTone::cool1, "e8beac"},
    {SkinTone::cool2, "ae5d29"},
    {SkinTone::deep1, "8d5524"},
    {SkinTone::deep2, "614335"},
}};

constexpr std::array<std::pair<HairColor, std::string_view>, 7> hairColors{{
    {HairColor::black, "2c1b18"},
    {HairColor::brown, "724133"},
    {HairColor::blonde, "b58143"},
    {HairColor::red, "c93305"},
    {HairColor::gray, "b7b7b7"},
    {HairColor::blue, "4a6fa5"},
    {HairColor::pink, "e0779b"},
}};

constexpr std::array<std::pair<OutfitColor, std::string_view>, 9> outfitColors{{
    {OutfitColor::black, "29292e"},
    {OutfitColor::white, "f0f0f5"},
    {OutfitColor::gray, "8c8f99"},
    {OutfitColor::navy, "243059"},
    {OutfitColor::green, "3d7357"},
    {OutfitColor::red, "b83d3d"},
    {OutfitColor::yellow, "dcb33d"},
    {OutfitColor::pink, "d47f99"},
    {OutfitColor::purple, "785999"},
}};

// The service has no bald top; a short flat cut is the closest it draws.
constexpr std::array<std::pair<HairStyle, std::string_view>, 9> topStyles{{
    {HairStyle::bald, "shortFlat"},
    {HairStyle::short1, "shortFlat"},
    {HairStyle::short2, "shortRound"},
    {HairStyle::short3, "shortWaved"},
    {HairStyle::curly, "curly"},
    {HairStyle::long1, "longButNotTooLong"},
    {HairStyle::long2, "straight02"},
    {HairStyle::bun, "bun"},
    {HairStyle::buzz, "shavedSides"},
}};

constexpr std::array<std::pair<Outfit, std::string_view>, 5> clothing{{
    {Outfit::tshirt, "shirtCrewNeck"},
    {Outfit::hoodie, "hoodie"},
    {Outfit::shirt, "shirtVNeck"},
    {Outfit::sweater, "collarAndSweater"},
    {Outfit::jacket, "blazerAndShirt"},
}};

constexpr std::array<std::pair<Expression, std::string_view>, 3> mouths{{
    {Expression::default_, "default"},
    {Expression::smile, "smile"},
    {Expression::grin, "twinkle"},
}};

} // namespace

QString serviceColor(SkinTone tone) { return lookup(skinColors, tone); }
QString serviceColor(HairColor color) { return lookup(hairColors, color); }
QString serviceColor(OutfitColor color) { return lookup(outfitColors, color); }
QString serviceTopStyle(HairStyle style) { return lookup(topStyles, style); }
QString serviceClothing(Outfit outfit) { return lookup(clothing, outfit); }
QString serviceMouth(Expression expression) { return lookup(mouths, expression); }

} // namespace vorlie
