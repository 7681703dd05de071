// Decoding a sync answer with 500 connections into a SyncSnapshot against
// Qt's JSON parse of the same bytes alone, measured in one run.
#include "RatioReport.h"
#include "SyncPayload.h"
#include "api/Envelope.h"
#include "sync/SyncSnapshot.h"

#include <QJsonDocument>

using namespace vorlie;

namespace {

const QByteArray &body()
{
    static const QByteArray bytes = bench::syncBody(500);
    return bytes;
}

void BM_QJsonDocumentFromJson(benchmark::State &state)
{
    for (auto _ : state) {
        QJsonDocument document = QJsonDocument::fromJson(body());
        benchmark::DoNotOptimize(document);
    }
}

void BM_DecodeSyncSnapshot(benchmark::State &state)
{
    for (auto _ : state) {
        std::optional<SyncSnapshot> snapshot = decodeDataEnvelope<SyncSnapshot>(body());
        if (!snapshot || snapshot->connections.size() != 500)
            state.SkipWithError("sample sync body did not decode");
        benchmark::DoNotOptimize(snapshot);
    }
}

BENCHMARK(BM_QJsonDocumentFromJson)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeSyncSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    bench::runAndReportRatios(&argc, argv,
                              {{"SyncSnapshot decode / QJsonDocument::fromJson (500 connections)", "BM_QJsonDocumentFromJson",
                                "BM_DecodeSyncSnapshot", 2.0}});
    return 0;
}
