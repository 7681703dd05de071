#pragma once

#include "SyncSnapshot.h"
#include "prefs/SharedDefaults.h"

namespace vorlie {

// The last synced snapshot under "cache.syncSnapshot", so a launch shows the
// last known people before the network answers.
class SyncSnapshotCache {
public:
    explicit SyncSnapshotCache(SharedDefaults defaults) : m_defaults(std::move(defaults)) {}

    // None when absent or undecodable; an undecodable entry is left in place.
    std::optional<SyncSnapshot> load() const;
    // An encoding failure keeps the previous entry, silently.
    void save(const SyncSnapshot &snapshot) const;
    // For a sign-in of another account, which must never see this one's people.
    void remove() const;

private:
    SharedDefaults m_defaults;
};

} // namespace vorlie
