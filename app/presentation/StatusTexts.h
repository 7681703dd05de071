#pragma once

#include "domain/Connection.h"
#include "domain/Status.h"

#include <QString>
#include <optional>
#include <vector>

namespace vorlie {

// Presentation rules shared by the panel, the main window and the tray.

// The mood drawn on an avatar, as its raw value: the status's own mood
// whenever there is a status (expired or not), "neutral" when there is none.
QString visualStateOf(const std::optional<Status> &status);

// One's own status in a line: emoji, one space and the text for an
// unexpired status (no leading space without an emoji), else "home.no_status".
QString ownStatusText(const std::optional<Status> &status);

// The connection to the main person: the first connection with that id.
// Only an accepted one reads as connected; missing and blocked read as none.
QString connectionStateText(const std::vector<Connection> &connections, const QString &connectionId);
bool isConnectionAccepted(const std::vector<Connection> &connections, const QString &connectionId);

} // namespace vorlie
