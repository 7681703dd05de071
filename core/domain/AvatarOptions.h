#pragma once

#include "AvatarConfiguration.h"

#include <QString>

namespace vorlie {

// The rendering service's option values for each avatar choice. Colours are
// six lower-case hexadecimal digits without "#".
QString serviceColor(SkinTone tone);
QString serviceColor(HairColor color);
QString serviceColor(OutfitColor color);
QString serviceTopStyle(HairStyle style);
QString serviceClothing(Outfit outfit);
QString serviceMouth(Expression expression);

} // namespace vorlie
