#include "SyncSnapshotCache.h"

#include "prefs/PreferenceKeys.h"

namespace vorlie {

std::optional<SyncSnapshot> SyncSnapshotCache::load() const
{
    return m_defaults.loadShared<SyncSnapshot>(prefkeys::syncSnapshot());
}

void SyncSnapshotCache::save(const SyncSnapshot &snapshot) const
{
    m_defaults.saveShared(snapshot, prefkeys::syncSnapshot());
}

void SyncSnapshotCache::remove() const
{
    m_defaults.remove(prefkeys::syncSnapshot());
}

} // namespace vorlie
