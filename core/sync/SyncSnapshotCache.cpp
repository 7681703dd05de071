#include "SyncSnapshotCache.h"

#include "prefs/PreferenceKeys.h"

namespace vorlie {

std::optional<SyncSnapshot> SyncSnapshotCache::load() const
{
    m_known = m_defaults.loadShared<SyncSnapshot>(prefkeys::syncSnapshot());
    return m_known;
}

void SyncSnapshotCache::save(const SyncSnapshot &snapshot)
{
    if (m_known == snapshot)
        return;
    if (m_defaults.saveShared(snapshot, prefkeys::syncSnapshot()))
        m_known = snapshot;
    else
        m_known.reset();
}

void SyncSnapshotCache::remove()
{
    m_defaults.remove(prefkeys::syncSnapshot());
    m_known.reset();
}

} // namespace vorlie
