// Thousands of sync cycles at a short interval while the main person's
// status keeps changing on the fake service: resident memory and open file
// descriptors stay flat after warm-up (LeakSanitizer checks the rest in the
// sanitizer build). VORLIE_SOAK_CYCLES (default 10000) and
// VORLIE_SOAK_SECONDS (default 10, 0 for no limit) bound the run.
#include "support/AppStackFixture.h"
#include "widgets/ProcessUsage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QNetworkReply>

using namespace vorlie;
using namespace vorlie::testing;

namespace {

qint64 residentBytes()
{
    return residentKiB(QCoreApplication::applicationPid()) * 1024;
}

qsizetype openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).size();
}

int setting(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool sanitized = true; // freed memory sits in quarantine, so resident size grows by design
#else
constexpr bool sanitized = false;
#endif

} // namespace

class Soak : public AppStackFixture {
protected:
    // The main person publishes a status, as their own app would.
    void mainPersonPublishes(const char *statusKey)
    {
        QNetworkRequest request(QUrl(host.baseUrl().toString() + QStringLiteral("/dev/main-person-status")));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        request.setRawHeader("Authorization", "Bearer " + m_publisher.accessToken.toUtf8());
        std::unique_ptr<QNetworkReply> answer(
            network.post(request, QJsonDocument(QJsonObject{{"statusKey", statusKey}}).toJson(QJsonDocument::Compact)));
        spinUntil([&answer] { return answer->isFinished(); });
        ASSERT_EQ(answer->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    }

    fake::TokenPair m_publisher;
};

TEST_F(Soak, ManySyncCyclesKeepMemoryAndDescriptorsFlat)
{
    const int cycles = setting("VORLIE_SOAK_CYCLES", 10'000);
    const int seconds = setting("VORLIE_SOAK_SECONDS", 10);
    const int warmUp = std::min(200, cycles / 10);
    startSignedIn();
    m_publisher = service().issueTokens(fake::ServiceState::seededUserId());
    const char *statuses[] = {"tired", "home", "working", "miss_you"};

    qint64 residentAfterWarmUp = 0;
    qsizetype descriptorsAfterWarmUp = 0;
    QElapsedTimer clock;
    const char *published = nullptr;
    int done = 0;
    for (; done < cycles; ++done) {
        if (done == warmUp) {
            residentAfterWarmUp = residentBytes();
            descriptorsAfterWarmUp = openDescriptors();
            clock.start();
        }
        if (done % 5 == 0) {
            published = statuses[(done / 5) % 4];
            mainPersonPublishes(published);
        }
        ASSERT_TRUE(resultOf(store->refresh())) << "cycle " << done;
        // The records of every request would grow without end.
        if (done % 100 == 0)
            service().clearRecords();
        if (seconds > 0 && done > warmUp && clock.elapsed() > qint64{seconds} * 1000)
            break;
    }
    ASSERT_GT(done, warmUp) << "no cycles after the warm-up";
    spinUntil([] { return false; }, std::chrono::milliseconds(200)); // let closing sockets go
    const qint64 grown = residentBytes() - residentAfterWarmUp;
    EXPECT_LE(openDescriptors(), descriptorsAfterWarmUp);
    if (!sanitized) {
        EXPECT_LT(grown, 1024 * 1024) << done << " sync cycles";
    }
    EXPECT_EQ(store->mainPersonStatus()->statusKey, QString::fromLatin1(published));
}
