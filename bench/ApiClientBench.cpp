// An APIClient GET of "me", decoded as the program decodes it, against a bare
// QNetworkAccessManager GET of the same resource on the same local server,
// measured in one run; prints the ratio.
#include "FakeServiceHost.h"
#include "RatioReport.h"
#include "support/ResultOf.h"
#include "api/APIClient.h"
#include "domain/User.h"
#include "session/AuthSession.h"
#include "MemoryTokenStore.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QCoro/QCoroNetworkReply>
#include <benchmark/benchmark.h>

#include <memory>

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

QCoro::Task<bool> bareGet(QNetworkAccessManager &network, QNetworkRequest request)
{
    std::unique_ptr<QNetworkReply> reply(network.get(request));
    co_await qCoro(reply.get()).waitForFinished();
    const QByteArray body = reply->readAll();
    co_return reply->error() == QNetworkReply::NoError && !body.isEmpty();
}

void BM_BareNetworkAccessManagerGet(benchmark::State &state)
{
    World &w = world();
    QNetworkRequest request(QUrl(w.host.baseUrl().toString() + QStringLiteral("/me")));
    request.setRawHeader("Authorization", "Bearer " + w.tokens.accessToken.toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    for (auto _ : state) {
        if (!QCoro::waitFor(bareGet(w.network, request)))
            state.SkipWithError("bare GET failed");
    }
}

void BM_APIClientGet(benchmark::State &state)
{
    World &w = world();
    APIRequest request;
    request.path = QStringLiteral("me");
    for (auto _ : state) {
        if (!vorlie::testing::resultOf(w.client.send<User>(request)))
            state.SkipWithError("APIClient GET failed");
    }
}

BENCHMARK(BM_BareNetworkAccessManagerGet)->MinTime(2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_APIClientGet)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::runAndReportRatios(&argc, argv,
                              {{"APIClient / bare QNetworkAccessManager GET", "BM_BareNetworkAccessManagerGet", "BM_APIClientGet", 1.10,
                                bench::Ratio::Judged::both}});
    return 0;
}
