// The sync cache: written on its writer thread in request order, read back
// as the last request left it, a later server time alone written only now and
// then, and its text written in parts identical to the whole snapshot's JSON.
#include "prefs/PreferenceKeys.h"
#include "prefs/SharedJson.h"
#include "repositories/sample/MockRepositories.h"
#include "support/DecodeJson.h"
#include "support/ResultOf.h"
#include "sync/SyncSnapshotCache.h"
#include "sync/SyncSnapshotEncoder.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using namespace vorlie;

namespace {

// The value as the store gives it back: instants lose their fractions.
SyncSnapshot asStored(const SyncSnapshot &snapshot)
{
    return *test::decodeJson<SyncSnapshot>(JsonCodec<SyncSnapshot>::encode(snapshot));
}

// A sample world of some connections, changed at random the ways syncs
// change it: names, statuses, instants, connections added, dropped, moved or
// sharing an id.
class Edits {
public:
    explicit Edits(quint32 seed) : m_random(seed)
    {
        m_snapshot = *vorlie::testing::resultOf(MockSyncRepository().fetchSync());
        const Connection model = m_snapshot.connections.front();
        m_snapshot.connections.clear();
        for (int i = 0; i < 12; ++i)
            m_snapshot.connections.push_back(newConnection(model));
        m_snapshot = asStored(m_snapshot);
    }

    const SyncSnapshot &snapshot() const { return m_snapshot; }

    const SyncSnapshot &next()
    {
        const int edits = 1 + m_random.bounded(3);
        for (int i = 0; i < edits; ++i)
            editOnce();
        return m_snapshot;
    }

private:
    Connection newConnection(Connection connection)
    {
        const int n = m_serial++;
        connection.id = QStringLiteral("01CONN%1").arg(n);
        connection.person.id = QStringLiteral("01PERSON%1").arg(n);
        connection.person.displayName = QStringLiteral("Person %1 \"Ü\"").arg(n);
        return connection;
    }

    std::vector<Connection>::iterator anyPosition()
    {
        return m_snapshot.connections.begin() + m_random.bounded(static_cast<int>(m_snapshot.connections.size()));
    }

    QDateTime later(const QDateTime &t) { return t.addSecs(1 + m_random.bounded(600)); }

    void editOnce()
    {
        auto &connections = m_snapshot.connections;
        const Connection model = connections.empty() ? Connection{} : *anyPosition();
        switch (connections.empty() ? 0 : m_random.bounded(10)) {
        case 0:
            connections.insert(connections.empty() ? connections.begin() : anyPosition(), newConnection(model));
            break;
        case 1:
            connections.erase(anyPosition());
            break;
        case 2:
            std::iter_swap(anyPosition(), anyPosition());
            break;
        case 3: {
            Connection &c = *anyPosition();
            c.person.displayName += u'x';
            c.acceptedAt = c.acceptedAt ? std::nullopt : std::optional(later(c.createdAt));
            break;
        }
        case 4: { // an id seen twice, with other contents
            Connection twin = model;
            twin.person.username = QStringLiteral("twin%1").arg(m_serial++);
            connections.insert(anyPosition(), twin);
            break;
        }
        case 5:
            if (m_snapshot.mainPersonStatus && m_random.bounded(3) == 0) {
                m_snapshot.mainPersonStatus.reset();
            } else {
                Status status = m_snapshot.ownStatus.value_or(Status{QStringLiteral("01S"), {}, {}, {}, {}, {}, {}, model.createdAt});
                status.text = QStringLiteral("status %1").arg(m_serial++);
                m_snapshot.mainPersonStatus = status;
            }
            break;
        case 6:
            if (m_snapshot.ownStatus)
                m_snapshot.ownStatus->emoji = m_snapshot.ownStatus->emoji ? std::nullopt : std::optional(QStringLiteral("🌙"));
            break;
        case 7:
            if (m_snapshot.mainPerson)
                m_snapshot.mainPerson.reset();
            else
                m_snapshot.mainPerson = MainPerson{model.id, model.person, later(model.createdAt)};
            break;
        case 8:
            m_snapshot.user.notifyStatusReminder = !m_snapshot.user.notifyStatusReminder;
            break;
        default:
            m_snapshot.serverTime = later(m_snapshot.serverTime);
            break;
        }
    }

    QRandomGenerator m_random;
    SyncSnapshot m_snapshot;
    int m_serial = 0;
};

class SyncCacheWriting : public ::testing::Test {
protected:
    std::optional<SyncSnapshot> storedNow() const { return defaults.loadShared<SyncSnapshot>(prefkeys::syncSnapshot()); }

    QTemporaryDir dir;
    SharedDefaults defaults{PreferencePaths::under(dir.path())};
    const quint32 seed = QRandomGenerator::global()->generate();
    Edits edits{seed};
    QRandomGenerator random{seed};
    SyncSnapshotCache cache{defaults};
};

} // namespace

TEST(SyncSnapshotEncoding, PartsMakeTheWholeSnapshotsTextThroughRandomEditsAndRefuseUnreadableParts)
{
    const quint32 seed = QRandomGenerator::global()->generate();
    SCOPED_TRACE(seed);
    Edits edits(seed);
    SyncSnapshotEncoder encoder;
    for (int round = 0; round < 400; ++round) {
        const SyncSnapshot &snapshot = edits.next();
        const auto text = encoder.encode(snapshot);
        ASSERT_TRUE(text) << round;
        ASSERT_EQ(*text, *sharedjson::serialize(JsonCodec<SyncSnapshot>::encode(snapshot))) << round;
    }

    // An instant that cannot be written, in a new part or in a changed one.
    for (const auto &breakIt : std::initializer_list<std::function<void(SyncSnapshot &)>>{
             [](SyncSnapshot &s) { s.connections.push_back({QStringLiteral("01NEW"), {}, s.connections.front().person, QDateTime(), {}}); },
             [](SyncSnapshot &s) { s.serverTime = QDateTime(); },
             [](SyncSnapshot &s) { s.ownStatus = Status{}; }}) {
        SyncSnapshot broken = edits.snapshot();
        breakIt(broken);
        EXPECT_FALSE(encoder.encode(broken));
    }
    EXPECT_EQ(encoder.encode(edits.snapshot()), sharedjson::serialize(JsonCodec<SyncSnapshot>::encode(edits.snapshot())));
}

TEST_F(SyncCacheWriting, EveryLoadSeesTheLastSaveThroughRandomEdits)
{
    SCOPED_TRACE(seed);
    for (int round = 0; round < 300; ++round) {
        const SyncSnapshot &snapshot = edits.next();
        cache.save(snapshot);
        // Now and then, from this cache or from another one.
        if (random.bounded(4) == 0) {
            ASSERT_EQ(cache.load(), asStored(snapshot)) << round;
        } else if (random.bounded(4) == 0) {
            // Another reader sees every change, and the server time at most
            // the interval behind.
            const std::optional<SyncSnapshot> seen = SyncSnapshotCache(defaults).load();
            ASSERT_TRUE(seen) << round;
            SyncSnapshot withItsClock = asStored(snapshot);
            withItsClock.serverTime = seen->serverTime;
            ASSERT_EQ(*seen, withItsClock) << round;
            const qint64 behind = seen->serverTime.secsTo(snapshot.serverTime);
            ASSERT_TRUE(behind >= 0 && behind < 600) << round << ": " << behind << " s behind";
        }
    }
}

TEST_F(SyncCacheWriting, SavesAndRemovalsLandInOrderAndDestructionFinishesThem)
{
    SCOPED_TRACE(seed);
    const SyncSnapshot first = edits.snapshot();
    cache.save(first);
    cache.remove();
    EXPECT_FALSE(cache.load());
    // Saved again after a removal: written, though the writer wrote it before.
    cache.save(first);
    EXPECT_EQ(SyncSnapshotCache(defaults).load(), first);

    // Without waiting: the cache going away finishes its writes.
    for (int round = 0; round < 50; ++round) {
        std::optional<SyncSnapshot> expected = storedNow();
        {
            SyncSnapshotCache briefly(defaults);
            for (int step = 0, steps = 1 + random.bounded(5); step < steps; ++step) {
                if (random.bounded(3) == 0) {
                    briefly.remove();
                    expected.reset();
                } else {
                    expected = asStored(edits.next());
                    briefly.save(*expected);
                }
            }
        }
        ASSERT_EQ(storedNow(), expected) << round;
    }
}

TEST_F(SyncCacheWriting, ALaterServerTimeAloneWaitsForTenMinutesTheNextChangeARead)
{
    using namespace std::chrono_literals;
    const SyncSnapshot base = edits.snapshot();
    SyncSnapshot people = base;
    people.connections.pop_back();
    const auto at = [&base](std::chrono::seconds later, const SyncSnapshot &from) {
        SyncSnapshot snapshot = from;
        snapshot.serverTime = base.serverTime.addDuration(later);
        return snapshot;
    };
    const auto foundByAnotherReader = [this] { return SyncSnapshotCache(defaults).load(); };

    struct Step {
        std::chrono::seconds clock;
        const SyncSnapshot &content;
        int storedStep; // which step's save another reader finds after this one
    };
    const Step steps[] = {
        {0s, base, 0},   {60s, base, 0},   {120s, base, 0},
        {600s, base, 3}, // ten minutes after the stored time
        {660s, base, 3}, {720s, people, 5},
        {700s, people, 6}, // a clock that went back is stored at once
        {760s, people, 6},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        cache.save(at(steps[i].clock, steps[i].content));
        const Step &stored = steps[steps[i].storedStep];
        ASSERT_EQ(foundByAnotherReader(), at(stored.clock, stored.content)) << "after step " << i;
    }

    // This cache's own read writes what it holds back.
    cache.save(at(820s, people));
    EXPECT_EQ(cache.load(), at(820s, people));
    EXPECT_EQ(foundByAnotherReader(), at(820s, people));

    // So does the cache going away, as the program quits.
    {
        SyncSnapshotCache briefly(defaults);
        briefly.save(at(900s, people));
        briefly.save(at(960s, people));
        ASSERT_EQ(foundByAnotherReader(), at(900s, people));
    }
    EXPECT_EQ(foundByAnotherReader(), at(960s, people));

    // A removal drops what is held back with the entry.
    {
        SyncSnapshotCache briefly(defaults);
        briefly.save(at(1000s, people));
        briefly.save(at(1060s, people));
        briefly.remove();
    }
    EXPECT_FALSE(foundByAnotherReader());
}

TEST_F(SyncCacheWriting, AFailedWriteKeepsTheOldEntryAndTheNextSaveWritesIt)
{
    const SyncSnapshot first = edits.snapshot();
    const SyncSnapshot second = edits.next();
    cache.save(first);
    ASSERT_EQ(cache.load(), first);

    // A file size limit makes the disk refuse the write, for root as well.
    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = original;
    tiny.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tiny), 0);
    cache.save(second);
    EXPECT_EQ(cache.load(), first);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &original), 0);
    std::signal(SIGXFSZ, previousHandler);

    cache.save(second);
    EXPECT_EQ(cache.load(), second);
    // Nothing half-written left behind.
    const QString dataDir = PreferencePaths::under(dir.path()).sharedSuite.chopped(4) + QStringLiteral(".data");
    EXPECT_EQ(QDir(dataDir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{prefkeys::syncSnapshot()});

    // A snapshot that cannot be written keeps the last one; the next good one is written.
    SyncSnapshot unwritable = second;
    unwritable.serverTime = QDateTime();
    cache.save(unwritable);
    EXPECT_EQ(cache.load(), second);
    cache.save(first);
    EXPECT_EQ(cache.load(), first);
}

TEST_F(SyncCacheWriting, SparseSnapshotsStaySparse)
{
    SyncSnapshot snapshot = edits.snapshot();
    snapshot.mainPerson.reset();
    snapshot.mainPersonStatus.reset();
    snapshot.ownStatus.reset();
    snapshot.connections.clear();
    cache.save(snapshot);
    EXPECT_EQ(cache.load(), snapshot);
    const QJsonObject stored = QJsonDocument::fromJson(*defaults.data(QStringLiteral("cache.syncSnapshot"))).object();
    EXPECT_EQ(stored.keys(), (QStringList{"connections", "serverTime", "user"}));
}

// That a corrupt entry reads as nothing and stays is the shared records' rule.
TEST_F(SyncCacheWriting, ARemovalOfACorruptEntryIsCarriedOutBeforeTheNextLoad)
{
    ASSERT_TRUE(defaults.setData(QStringLiteral("cache.syncSnapshot"), R"({"user":{"id":"x"},"connections":[]})"));
    cache.remove();
    // A load waits for the writer to carry the removal out.
    EXPECT_FALSE(cache.load());
    EXPECT_FALSE(defaults.data(QStringLiteral("cache.syncSnapshot")).has_value());
}
