#pragma once

#include "AvatarConfiguration.h"

#include <QString>
#include <QUrl>

namespace vorlie {

// Address of the PNG picture of an avatar at `points` size; the picture is
// requested at twice that many pixels for sharp drawing on high-density
// screens. `serviceBase` is the rendering service's root address (configuration).
// Every query value is percent-encoded, so a seed with "&", "+" or "#" cannot
// change the query's meaning.
QUrl avatarImageURL(const QUrl &serviceBase, const AvatarConfiguration &avatar, const QString &seed, int points);

} // namespace vorlie
