#include "SyncCacheWriter.h"

#include "prefs/PreferenceKeys.h"

#include <mutex>

namespace vorlie {
namespace {

// One lock for every writer, so a load waits for all of them at once; loads
// are rare (start-up, sign-in) and writers hold it only to pass a request.
struct Activity {
    std::mutex lock;
    std::condition_variable idle;
    int activeWriters = 0;
};

Activity &activity()
{
    static Activity shared;
    return shared;
}

// Only the clock moved, and not far: the rest is what is already stored.
bool onlyTheClockMovedSince(const SyncSnapshot &stored, const SyncSnapshot &next)
{
    return stored.serverTime.isValid() && next.serverTime > stored.serverTime
        && next.serverTime < stored.serverTime.addDuration(SyncCacheWriter::clockOnlyWriteInterval)
        && next.content() == stored.content();
}

} // namespace

SyncCacheWriter::SyncCacheWriter(SharedDefaults defaults)
    : m_defaults(std::move(defaults))
    , m_thread([this] { run(); })
{
}

SyncCacheWriter::~SyncCacheWriter()
{
    writeHeldBack();
    {
        const std::lock_guard guard(activity().lock);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void SyncCacheWriter::save(const SyncSnapshot &snapshot)
{
    if (m_handedOver && onlyTheClockMovedSince(*m_handedOver, snapshot)) {
        m_heldBackTime = snapshot.serverTime;
        return;
    }
    m_heldBackTime.reset();
    handOver(std::make_shared<const SyncSnapshot>(snapshot));
}

void SyncCacheWriter::remove()
{
    m_heldBackTime.reset();
    m_handedOver.reset();
    submit(nullptr);
}

void SyncCacheWriter::writeHeldBack()
{
    if (!m_heldBackTime)
        return;
    SyncSnapshot later = *m_handedOver;
    later.serverTime = *std::exchange(m_heldBackTime, std::nullopt);
    handOver(std::make_shared<const SyncSnapshot>(std::move(later)));
}

void SyncCacheWriter::handOver(Request snapshot)
{
    m_handedOver = snapshot;
    submit(std::move(snapshot));
}

void SyncCacheWriter::waitUntilIdle()
{
    Activity &shared = activity();
    std::unique_lock guard(shared.lock);
    shared.idle.wait(guard, [&shared] { return shared.activeWriters == 0; });
}

void SyncCacheWriter::submit(Request request)
{
    std::optional<Request> superseded; // freed outside the lock
    {
        const std::lock_guard guard(activity().lock);
        if (!m_active) {
            m_active = true;
            ++activity().activeWriters;
        }
        superseded = std::exchange(m_pending, std::move(request));
    }
    m_wake.notify_one();
}

void SyncCacheWriter::run()
{
    Activity &shared = activity();
    std::unique_lock guard(shared.lock);
    while (true) {
        m_wake.wait(guard, [this] { return m_pending || m_stopping; });
        if (!m_pending)
            return;
        {
            const Request request = std::move(*m_pending);
            m_pending.reset();
            guard.unlock();
            perform(request);
        }
        guard.lock();
        if (!m_pending) {
            m_active = false;
            --shared.activeWriters;
            shared.idle.notify_all();
        }
    }
}

void SyncCacheWriter::perform(const Request &request)
{
    if (!request) {
        m_stored.reset();
        m_defaults.remove(prefkeys::syncSnapshot());
        return;
    }
    // An unwritable snapshot keeps the previous entry; an unchanged one is
    // not written again, since only the application writes the entry.
    auto bytes = m_encoder.encode(*request);
    if (!bytes || bytes == m_stored)
        return;
    if (m_defaults.setData(prefkeys::syncSnapshot(), *bytes))
        m_stored = std::move(bytes);
    else
        m_stored.reset();
}

} // namespace vorlie
