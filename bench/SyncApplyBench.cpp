// Applying a sync answer with 500 connections (decode, session state, sync
// cache and widget snapshot) against Qt's JSON parse of the same bytes, on
// the main thread and on all threads with the cache's writer; and how many
// service requests 100 simultaneous refresh triggers cause.
#include "FakeServiceHost.h"
#include "RatioReport.h"

#include <cstdio>
#include "SyncPayload.h"
#include "api/APIClient.h"
#include "api/Envelope.h"
#include "prefs/PreferenceKeys.h"
#include "repositories/AnnouncementRepository.h"
#include "repositories/AuthRepository.h"
#include "repositories/ConnectionsRepository.h"
#include "repositories/RemoteAnnouncementRepository.h"
#include "repositories/RemoteSyncRepository.h"
#include "repositories/sample/MockRepositories.h"
#include "session/AuthSession.h"
#include "session/SessionStore.h"
#include "MemoryTokenStore.h"
#include "support/ResultOf.h"
#include "sync/SyncCacheWriter.h"
#include "widget/WidgetSnapshotStore.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QTemporaryDir>

#include <array>

using namespace vorlie;

namespace {

// The answer with one of two main person's statuses. The service stamps
// every answer with its time, so consecutive syncs always differ there.
const QByteArray &body(bool otherStatus, bool laterTime)
{
    static const std::array<QByteArray, 4> bodies = [] {
        const QByteArray first = bench::syncBody(500);
        const QByteArray second = QByteArray(first).replace(R"("id":"01STATUS1","statusKey":"tired")",
                                                            R"("id":"01STATUS3","statusKey":"home")");
        const auto later = [](QByteArray bytes) {
            return bytes.replace(R"("serverTime":"2026-12-07T10:00:00Z")", R"("serverTime":"2026-12-07T10:00:30Z")");
        };
        return std::array<QByteArray, 4>{first, later(first), second, later(second)};
    }();
    return bodies[(otherStatus ? 2 : 0) + (laterTime ? 1 : 0)];
}

// Serves the prepared answer bytes through the real decoder, without a network.
class BytesSyncRepository final : public SyncRepository {
public:
    explicit BytesSyncRepository(bool changing) : m_changing(changing) {}

    QCoro::Task<Result<SyncSnapshot>> fetchSync() override
    {
        m_later = !m_later;
        std::optional<SyncSnapshot> snapshot = decodeDataEnvelope<SyncSnapshot>(body(m_changing && m_later, m_later));
        if (!snapshot)
            co_return APIError::decoding();
        co_return std::move(*snapshot);
    }

private:
    const bool m_changing;
    bool m_later = false;
};

class NoAnnouncements final : public AnnouncementRepository {
public:
    QCoro::Task<Result<std::vector<Announcement>>> fetchAnnouncements() override
    {
        co_return std::vector<Announcement>{};
    }
};

// The session store and everything a sync writes to, signed in.
struct Stack {
    explicit Stack(const QUrl &baseURL, SyncRepository &sync, AnnouncementRepository &announcements)
        : auth(tokens, baseURL, network)
        , widget(defaults, pictures, QUrl(QStringLiteral("http://127.0.0.1:9")), [] {})
        , store(AppDependencies{auth, mocks.auth, mocks.profile, mocks.connections, mocks.status, sync, mocks.device, announcements},
                SyncSnapshotCache(defaults), widget)
    {
        testing::resultOf(auth.storeTokens(QStringLiteral("access"), QStringLiteral("refresh")));
        testing::resultOf(store.bootstrap());
    }

    struct Mocks {
        MockAuthRepository auth;
        MockProfileRepository profile;
        MockConnectionsRepository connections;
        MockStatusRepository status;
        MockDeviceRepository device;
    };

    QTemporaryDir prefs;
    SharedDefaults defaults{PreferencePaths::under(prefs.path())};
    QNetworkAccessManager network;
    QNetworkAccessManager pictures;
    bench::MemoryTokenStore tokens;
    AuthSession auth;
    Mocks mocks;
    WidgetSnapshotStore widget;
    SessionStore store;
};

void BM_QJsonDocumentFromJson(benchmark::State &state)
{
    bool alternate = false;
    for (auto _ : state) {
        alternate = !alternate;
        QJsonDocument document = QJsonDocument::fromJson(body(alternate, alternate));
        benchmark::DoNotOptimize(document);
    }
}

// state.range(0): 1 when every sync brings a new main person's status (state,
// cache and widget rewritten), 0 for the usual periodic sync with nothing new
// but the service's time. Each sync waits until the cache is written, so its
// writer's work is counted where the CPU time of all threads is measured.
void BM_ApplySync(benchmark::State &state)
{
    BytesSyncRepository sync(state.range(0) == 1);
    NoAnnouncements announcements;
    Stack stack(QUrl(QStringLiteral("http://127.0.0.1:9/api/v1")), sync, announcements);
    // The picture is already there, as after the first sync: no downloads.
    WidgetSnapshot seeded = *stack.widget.load();
    seeded.avatarImageData = QByteArray(6000, 'p');
    stack.widget.save(seeded);

    for (auto _ : state) {
        if (!testing::resultOf(stack.store.refresh()))
            state.SkipWithError("sync did not apply");
        SyncCacheWriter::waitUntilIdle();
    }
    if (stack.store.connections().size() != 500)
        state.SkipWithError("connections missing");
}

// Registered apart, because its CPU time is every thread's.
void BM_ApplySyncAllThreads(benchmark::State &state)
{
    BM_ApplySync(state);
}

void BM_SyncRequestsForHundredTriggers(benchmark::State &state)
{
    fake::FakeServiceHost host;
    QNetworkAccessManager network;
    bench::MemoryTokenStore tokens;
    AuthSession auth(tokens, host.baseUrl(), network);
    const fake::TokenPair pair = host.service().issueTokens(fake::ServiceState::seededUserId());
    testing::resultOf(auth.storeTokens(pair.accessToken, pair.refreshToken));
    APIClient client(host.baseUrl(), auth, network);
    RemoteSyncRepository sync(client);
    RemoteAnnouncementRepository announcements(client);
    // The stack's own session only tells the store it is signed in; requests carry `auth`'s tokens.
    Stack stack(host.baseUrl(), sync, announcements);

    double requests = 0;
    for (auto _ : state) {
        host.service().clearRecords();
        std::vector<QCoro::Task<bool>> triggers;
        for (int i = 0; i < 100; ++i)
            triggers.push_back(stack.store.refresh());
        for (auto &trigger : triggers)
            benchmark::DoNotOptimize(testing::resultOf(trigger));
        requests = host.service().requestCount(QStringLiteral("sync"));
    }
    state.counters["sync_requests"] = requests;
    // For the table of tools/bench.sh: a count, not a ratio.
    std::printf("COUNT\t100 simultaneous refresh triggers: sync requests\t%g\t1\n", requests);
    if (requests != 1)
        state.SkipWithError("100 triggers did not share one sync");
}

BENCHMARK(BM_QJsonDocumentFromJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplySync)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ApplySyncAllThreads)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SyncRequestsForHundredTriggers)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    using Judged = bench::Ratio::Judged;
    bench::runAndReportRatios(
        &argc, argv,
        {{"Apply an unchanged sync, new server time (decode, compare state, cache and widget) / fromJson (500 connections)",
          "BM_QJsonDocumentFromJson", "BM_ApplySync/0", 2.0, Judged::cpu},
         {"Apply a changed sync (decode, state, cache and widget rewritten), main thread / fromJson (500 connections)",
          "BM_QJsonDocumentFromJson", "BM_ApplySync/1", 2.0, Judged::cpu},
         {"Apply a changed sync (decode, state, cache and widget rewritten), all threads / fromJson (500 connections)",
          "BM_QJsonDocumentFromJson", "BM_ApplySyncAllThreads/1", 3.0, Judged::cpu}});
    return 0;
}
