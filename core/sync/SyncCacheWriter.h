#pragma once

#include "SyncSnapshotEncoder.h"
#include "prefs/SharedDefaults.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <optional>
#include <thread>

namespace vorlie {

// Writes the sync cache's entry on a thread of its own, so a sync never waits
// for encoding or the disk. Each request decides the entry alone (a snapshot
// to hold, or none), so one not yet started gives way to a later one and the
// entry always ends as the last request says.
//
// A snapshot whose only news is a later server time is held back for up to
// `clockOnlyWriteInterval`: an idle program would otherwise wake a thread and
// flush a file to disk every minute to store a clock. The held one is written
// with the next change, once the stored time is that old, or when the writer
// ends.
class SyncCacheWriter {
public:
    static constexpr std::chrono::minutes clockOnlyWriteInterval{10};

    explicit SyncCacheWriter(SharedDefaults defaults);
    // Writes what is held back and finishes the last request first.
    ~SyncCacheWriter();
    SyncCacheWriter(const SyncCacheWriter &) = delete;
    SyncCacheWriter &operator=(const SyncCacheWriter &) = delete;

    // Both from the thread that owns the writer.
    void save(const SyncSnapshot &snapshot);
    void remove();
    // Hands over what is held back, for a read that must see the last save.
    void writeHeldBack();

    // Returns once every writer of this process has carried out its requests,
    // so a read after it sees what the last of them wrote.
    static void waitUntilIdle();

private:
    // A snapshot to store, or none to remove the entry. Shared, unchanged,
    // between the owning thread and the writer thread.
    using Request = std::shared_ptr<const SyncSnapshot>;

    void handOver(Request snapshot);
    void submit(Request request);
    void run();
    void perform(const Request &request);

    const SharedDefaults m_defaults;
    // The owning thread's own: what it last handed over, and a later server
    // time held back for that same content.
    Request m_handedOver;
    std::optional<QDateTime> m_heldBackTime;
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
