#include "SyncSnapshotCache.h"

#include "SyncCacheWriter.h"
#include "prefs/PreferenceKeys.h"

namespace vorlie {

SyncSnapshotCache::SyncSnapshotCache(SharedDefaults defaults) : m_defaults(std::move(defaults)) {}

SyncSnapshotCache::~SyncSnapshotCache() = default;
SyncSnapshotCache::SyncSnapshotCache(SyncSnapshotCache &&) noexcept = default;
SyncSnapshotCache &SyncSnapshotCache::operator=(SyncSnapshotCache &&) noexcept = default;

std::optional<SyncSnapshot> SyncSnapshotCache::load() const
{
    if (m_writer)
        m_writer->writeHeldBack();
    SyncCacheWriter::waitUntilIdle();
    return m_defaults.loadShared<SyncSnapshot>(prefkeys::syncSnapshot());
}

void SyncSnapshotCache::save(const SyncSnapshot &snapshot)
{
    writer().save(snapshot);
}

void SyncSnapshotCache::remove()
{
    writer().remove();
}

SyncCacheWriter &SyncSnapshotCache::writer()
{
    if (!m_writer)
        m_writer = std::make_unique<SyncCacheWriter>(m_defaults);
    return *m_writer;
}

} // namespace vorlie
