// An APIClient GET of "me" against a bare QNetworkAccessManager GET of the
// same resource on the same local server, measured in one run, two ways:
// the answer taken as bytes on both sides (the client still checks its
// status), and the answer decoded, into the User record by the client and by
// QJsonDocument::fromJson on the bare side. The two sides take turns request
// by request, so a change in the shared machine's load, which moves a GET's
// time by a third from one second to the next, hits both alike.
#include "FakeServiceHost.h"
#include "RatioReport.h"
#include "api/APIClient.h"
#include "domain/User.h"
#include "session/AuthSession.h"
#include "MemoryTokenStore.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QCoro/QCoroNetworkReply>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <map>
#include <memory>
#include <vector>

using namespace vorlie;

namespace {


struct World {
    fake::FakeServiceHost host;
    bench::MemoryTokenStore keychain;
    QNetworkAccessManager network;
    AuthSession auth{keychain, host.baseUrl(), network};
    APIClient client{host.baseUrl(), auth, network};
    fake::TokenPair tokens;

    World()
    {
        host.service().setAccessTokenLifetime(std::chrono::hours(24));
        tokens = host.service().issueTokens(fake::ServiceState::seededUserId());
        QCoro::waitFor(auth.storeTokens(tokens.accessToken, tokens.refreshToken));
    }
};

World &world()
{
    static World w;
    return w;
}

// Qt asks that a reply is not deleted inside its own finished() signal,
// where the awaiting coroutine resumes; the bare side follows that rule too.
struct LaterDeleter {
    void operator()(QNetworkReply *reply) const { reply->deleteLater(); }
};

QCoro::Task<bool> bareGet(QNetworkAccessManager &network, QNetworkRequest request, bool parse)
{
    std::unique_ptr<QNetworkReply, LaterDeleter> reply(network.get(request));
    co_await qCoro(reply.get()).waitForFinished();
    const QByteArray body = reply->readAll();
    if (parse && !QJsonDocument::fromJson(body).isObject())
        co_return false;
    co_return reply->error() == QNetworkReply::NoError && !body.isEmpty();
}

// The client's side of the same GET, awaited the same way as the bare one.
QCoro::Task<bool> clientGet(const APIClient &client, const APIRequest &request, bool decode)
{
    if (decode)
        co_return (co_await client.send<User>(request)).hasValue();
    co_return (co_await client.sendVoid(request)).hasValue();
}

// state.range(0): 1 when the answer is decoded, 0 when it is taken as bytes.
bool decoded(const benchmark::State &state)
{
    return state.range(0) == 1;
}

// Microseconds of one clock.
double now(clockid_t clock)
{
    timespec time{};
    clock_gettime(clock, &time);
    return double(time.tv_sec) * 1e6 + double(time.tv_nsec) / 1e3;
}

// Every GET's wall-clock and calling-thread CPU time, over all repetitions.
struct Side {
    std::vector<double> wall;
    std::vector<double> cpu;

    template<typename Get>
    void time(benchmark::State &state, Get get)
    {
        const double wallStart = now(CLOCK_MONOTONIC);
        const double cpuStart = now(CLOCK_THREAD_CPUTIME_ID);
        if (!get())
            state.SkipWithError("GET failed");
        cpu.push_back(now(CLOCK_THREAD_CPUTIME_ID) - cpuStart);
        wall.push_back(now(CLOCK_MONOTONIC) - wallStart);
    }
};

struct Pair {
    Side bare;
    Side client;
};

std::map<bool, Pair> pairs; // by decoded()

double median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// One bare GET and one client GET per iteration, which goes first changing
// every time.
void BM_GetInTurns(benchmark::State &state)
{
    World &w = world();
    QNetworkRequest bareRequest(QUrl(w.host.baseUrl().toString() + QStringLiteral("/me")));
    bareRequest.setRawHeader("Authorization", "Bearer " + w.tokens.accessToken.toUtf8());
    bareRequest.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    APIRequest clientRequest;
    clientRequest.path = QStringLiteral("me");
    const bool decode = decoded(state);
    Pair &pair = pairs[decode];
    bool clientFirst = false;
    for (auto _ : state) {
        const auto bare = [&] { return QCoro::waitFor(bareGet(w.network, bareRequest, decode)); };
        const auto client = [&] { return QCoro::waitFor(clientGet(w.client, clientRequest, decode)); };
        if (clientFirst)
            pair.client.time(state, client);
        pair.bare.time(state, bare);
        if (!clientFirst)
            pair.client.time(state, client);
        clientFirst = !clientFirst;
    }
}

BENCHMARK(BM_GetInTurns)->Arg(0)->Arg(1)->Iterations(2000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::runAndReportRatios(&argc, argv, {});
    // The medians of every GET of each side.
    const auto report = [](const char *label, const Pair &pair) {
        if (pair.bare.cpu.empty() || pair.client.cpu.empty())
            return;
        bench::printRatio({label, "", "", 1.10, bench::Ratio::Judged::both},
                          median(pair.client.wall) / median(pair.bare.wall),
                          median(pair.client.cpu) / median(pair.bare.cpu), false);
    };
    report("APIClient GET, answer as bytes / bare QNetworkAccessManager GET", pairs[false]);
    report("APIClient GET decoded into User / bare GET parsed by QJsonDocument::fromJson", pairs[true]);
    return 0;
}
