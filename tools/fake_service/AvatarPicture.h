#pragma once

#include "ScriptedReply.h"

namespace vorlie::fake {

// Stands in for the avatar rendering service ("/9.x/avataaars/png"): a
// simple PNG face of the requested size in the query's colours, so the app
// shows real pictures offline.
ScriptedReply avatarPicture(const QString &rawTarget);

} // namespace vorlie::fake
