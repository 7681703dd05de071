#pragma once

#include "SyncSnapshot.h"
#include "prefs/SharedDefaults.h"

#include <memory>

namespace vorlie {

class SyncCacheWriter;

// The last synced snapshot under "cache.syncSnapshot", so a launch shows the
// last known people before the network answers. Saves and removals are
// carried out in order on a writer thread; a sync only hands its snapshot over.
class SyncSnapshotCache {
public:
    explicit SyncSnapshotCache(SharedDefaults defaults);
    // Waits for the writer to finish, so another cache on the same store
    // reads what this one was last asked to hold.
    ~SyncSnapshotCache();
    SyncSnapshotCache(SyncSnapshotCache &&) noexcept;
    SyncSnapshotCache &operator=(SyncSnapshotCache &&) noexcept;

    // None when absent or undecodable; an undecodable entry is left in place.
    // Waits until every earlier save and removal of this process is written,
    // except that another cache may still hold back a save that only moved
    // the server time (see SyncCacheWriter).
    std::optional<SyncSnapshot> load() const;
    // A snapshot that cannot be encoded keeps the previous entry, silently.
    void save(const SyncSnapshot &snapshot);
    // For a sign-in of another account, which must never see this one's people.
    void remove();

private:
    // Started with the first save or removal: most caches are only read.
    SyncCacheWriter &writer();

    SharedDefaults m_defaults;
    std::unique_ptr<SyncCacheWriter> m_writer;
};

} // namespace vorlie
