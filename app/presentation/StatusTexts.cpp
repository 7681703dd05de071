#include "StatusTexts.h"

#include "domain/StatusCatalog.h"
#include "domain/WireEnum.h"

#include <algorithm>

namespace vorlie {
namespace {

std::optional<ConnectionState> stateOf(const std::vector<Connection> &connections, const QString &connectionId)
{
    const auto found = std::find_if(connections.begin(), connections.end(),
                                    [&](const Connection &connection) { return connection.id == connectionId; });
    if (found == connections.end())
        return std::nullopt;
    return found->state;
}

} // namespace

QString visualStateOf(const std::optional<Status> &status)
{
    return rawValue(status ? status->visualState : StatusVisualState::neutral);
}

QString ownStatusText(const std::optional<Status> &status)
{
    if (!status || status->isExpired)
        return qtTrId("home.no_status");
    const QString emoji = status->emoji.value_or(QString());
    return emoji.isEmpty() ? displayText(*status) : emoji + u' ' + displayText(*status);
}

QString connectionStateText(const std::vector<Connection> &connections, const QString &connectionId)
{
    switch (stateOf(connections, connectionId).value_or(ConnectionState::blocked)) {
    case ConnectionState::accepted:
        return qtTrId("connection.state.accepted");
    case ConnectionState::pending:
        return qtTrId("connection.state.pending");
    case ConnectionState::blocked:
        break;
    }
    return qtTrId("connection.state.none");
}

bool isConnectionAccepted(const std::vector<Connection> &connections, const QString &connectionId)
{
    return stateOf(connections, connectionId) == ConnectionState::accepted;
}

} // namespace vorlie
