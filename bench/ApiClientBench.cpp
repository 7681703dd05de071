// An APIClient GET of "me" against a bare QNetworkAccessManager GET of the
// same resource on the same local server, measured in one run, two ways:
// the answer taken as bytes on both sides (the client still checks its
// status), and the answer decoded, into the User record by the client and by
// QJsonDocument::fromJson on the bare side.
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

void BM_BareNetworkAccessManagerGet(benchmark::State &state)
{
    World &w = world();
    QNetworkRequest request(QUrl(w.host.baseUrl().toString() + QStringLiteral("/me")));
    request.setRawHeader("Authorization", "Bearer " + w.tokens.accessToken.toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    for (auto _ : state) {
        if (!QCoro::waitFor(bareGet(w.network, request, decoded(state))))
            state.SkipWithError("bare GET failed");
    }
}

void BM_APIClientGet(benchmark::State &state)
{
    World &w = world();
    APIRequest request;
    request.path = QStringLiteral("me");
    for (auto _ : state) {
        if (!QCoro::waitFor(clientGet(w.client, request, decoded(state))))
            state.SkipWithError("APIClient GET failed");
    }
}

BENCHMARK(BM_BareNetworkAccessManagerGet)->Arg(0)->Arg(1)->MinTime(2.0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_APIClientGet)->Arg(0)->Arg(1)->MinTime(2.0)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    bench::runAndReportRatios(&argc, argv,
                              {{"APIClient GET, answer as bytes / bare QNetworkAccessManager GET", "BM_BareNetworkAccessManagerGet/0",
                                "BM_APIClientGet/0", 1.10, bench::Ratio::Judged::both},
                               {"APIClient GET decoded into User / bare GET parsed by QJsonDocument::fromJson",
                                "BM_BareNetworkAccessManagerGet/1", "BM_APIClientGet/1", 1.10, bench::Ratio::Judged::both}});
    return 0;
}
