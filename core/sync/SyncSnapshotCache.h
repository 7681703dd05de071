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
    // An encoding failure keeps the previous entry, silently. A snapshot
    // equal to the one this cache last read or wrote is not written again:
    // only the application writes the entry, and most periodic syncs bring
    // nothing new.
    void save(const SyncSnapshot &snapshot);
    // For a sign-in of another account, which must never see this one's people.
    void remove();

private:
    SharedDefaults m_defaults;
    mutable std::optional<SyncSnapshot> m_known; // what the entry holds, when known
};

} // namespace vorlie
