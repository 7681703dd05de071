#pragma once

namespace vorlie {

// Connections reach the app only through the sync snapshot; the dependencies
// keep a slot for this repository, but nothing calls into it yet.
class ConnectionsRepository {
public:
    virtual ~ConnectionsRepository() = default;
};

class RemoteConnectionsRepository final : public ConnectionsRepository {};

} // namespace vorlie
