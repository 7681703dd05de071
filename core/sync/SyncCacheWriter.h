#pragma once

#include "SyncSnapshotEncoder.h"
#include "prefs/SharedDefaults.h"

#include <condition_variable>
#include <optional>
#include <thread>

namespace vorlie {

// Writes the sync cache's entry on a thread of its own, so a sync never waits
// for encoding or the disk. Each request decides the entry alone (a snapshot
// to hold, or none), so one not yet started gives way to a later one and the
// entry always ends as the last request says.
class SyncCacheWriter {
public:
    explicit SyncCacheWriter(SharedDefaults defaults);
    // Finishes the last request first.
    ~SyncCacheWriter();
    SyncCacheWriter(const SyncCacheWriter &) = delete;
    SyncCacheWriter &operator=(const SyncCacheWriter &) = delete;

    void save(const SyncSnapshot &snapshot);
    void remove();

    // Returns once every writer of this process has carried out its requests,
    // so a read after it sees what the last of them wrote.
    static void waitUntilIdle();

private:
    // A snapshot to store, or none to remove the entry.
    using Request = std::optional<SyncSnapshot>;

    void submit(Request request);
    void run();
    void perform(const Request &request);

    const SharedDefaults m_defaults;
    // The writer thread's own.
    SyncSnapshotEncoder m_encoder;
    std::optional<QByteArray> m_stored; // the entry's bytes, while known

    // Guarded by the lock that all writers share.
    std::optional<Request> m_pending;
    bool m_active = false; // a request pending or being carried out
    bool m_stopping = false;
    std::condition_variable m_wake;

    std::thread m_thread;
};

} // namespace vorlie
