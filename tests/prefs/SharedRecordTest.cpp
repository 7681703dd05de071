// Records in the shared suite: JSON round trips, refusals that keep what is
// stored, and a second process reading while the first rewrites a key.
#include "PrefsFixture.h"
#include "prefs/SharedDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTest>

using namespace vorlie;
using namespace Qt::StringLiterals;

namespace {

struct Note {
    QString title;
    std::optional<QString> body;
    QDateTime at;
    friend bool operator==(const Note &, const Note &) = default;
};

} // namespace

template<>
struct vorlie::JsonCodec<Note> {
    static std::optional<Note> decode(JsonView v)
    {
        Note n;
        if (!v.isObject() || !json::readRequired(v, "title"_L1, n.title) || !json::readOptional(v, "body"_L1, n.body)
            || !json::readRequired(v, "at"_L1, n.at))
            return std::nullopt;
        return n;
    }
    static QJsonValue encode(const Note &n)
    {
        QJsonObject o;
        json::write(o, "title"_L1, n.title);
        json::writeOptional(o, "body"_L1, n.body);
        json::write(o, "at"_L1, n.at);
        return o;
    }
};

class SharedRecords : public PrefsFixture {};

TEST_F(SharedRecords, RoundTripLosesOnlyFractionalSecondsAndForeignOrBrokenDataReadsAsNoneAndStays)
{
    const SharedDefaults defaults(paths());
    const Note note{QStringLiteral("Grüße ✓"), std::nullopt, QDateTime::fromMSecsSinceEpoch(1'765'000'000'250, Qt::UTC)};
    ASSERT_TRUE(defaults.saveShared(note, QStringLiteral("note")));
    EXPECT_EQ(defaults.data(QStringLiteral("note")), QByteArray(R"({"at":"2025-12-06T05:46:40Z","title":"Grüße ✓"})"));
    EXPECT_EQ(defaults.loadShared<Note>(QStringLiteral("note")),
              (Note{note.title, std::nullopt, QDateTime::fromMSecsSinceEpoch(1'765'000'000'000, Qt::UTC)}));

    // Foreign or broken data reads as none and stays stored.
    EXPECT_FALSE(defaults.loadShared<Note>(QStringLiteral("missing")).has_value());

    for (const QByteArray &broken : {QByteArray(R"({"count":3})"), QByteArray("not json"),
                                     QByteArray(R"({"title":"x","at":"2025-01-01T00:00:00.5Z"})"), QByteArray("\xff\xfe")}) {
        ASSERT_TRUE(defaults.setData(QStringLiteral("note"), broken));
        EXPECT_FALSE(defaults.loadShared<Note>(QStringLiteral("note")).has_value());
        EXPECT_EQ(defaults.data(QStringLiteral("note")), broken);
    }

    const Note invalid{QStringLiteral("no time"), std::nullopt, QDateTime()};
    EXPECT_FALSE(defaults.saveShared(invalid, QStringLiteral("note"))) << "an unreadable record is never stored";
    EXPECT_EQ(defaults.data(QStringLiteral("note")), QByteArray("\xff\xfe"));
}

namespace {
QByteArray document(char fill)
{
    return R"({"title":")" + QByteArray(20'000, fill) + R"(","at":"2026-12-07T10:00:00Z"})";
}
} // namespace

// The reader side of the cross-process test, run as a child process.
TEST(ChildProcess, SharedSuiteReader)
{
    const QString dir = qEnvironmentVariable("VORLIE_SHARED_READER_DIR");
    const SharedDefaults defaults(PreferencePaths::under(dir));
    int reads = 0;
    QElapsedTimer clock;
    clock.start();
    QFile(dir + QStringLiteral("/ready")).open(QIODevice::WriteOnly);
    while (clock.elapsed() < 10'000 && !QFile::exists(dir + QStringLiteral("/done"))) {
        const auto value = defaults.data(QStringLiteral("doc"));
        ASSERT_TRUE(value.has_value());
        ASSERT_TRUE(*value == document('a') || *value == document('b')) << "torn value of " << value->size() << " bytes";
        ++reads;
    }
    std::printf("reads=%d\n", reads);
}

TEST_F(SharedRecords, ASecondProcessNeverSeesATornValue)
{
    const SharedDefaults defaults(paths());
    ASSERT_TRUE(defaults.setData(QStringLiteral("doc"), document('a')));

    QProcess reader;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VORLIE_SHARED_READER_DIR"), configDir());
    reader.setProcessEnvironment(environment);
    reader.setProcessChannelMode(QProcess::MergedChannels);
    reader.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=ChildProcess.SharedSuiteReader")});
    ASSERT_TRUE(reader.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([this] { return QFile::exists(configDir() + QStringLiteral("/ready")); }, 10'000))
        << "the reader never started";
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(defaults.setData(QStringLiteral("doc"), document(i % 2 ? 'a' : 'b')));
    writeRaw(configDir() + QStringLiteral("/done"), {});
    ASSERT_TRUE(reader.waitForFinished(20'000));
    const QByteArray output = reader.readAll();
    EXPECT_EQ(reader.exitCode(), 0) << output.toStdString();
    const qsizetype at = output.indexOf("reads=");
    ASSERT_GE(at, 0) << output.toStdString();
    EXPECT_GT(output.mid(at + 6).trimmed().split('\n').first().toInt(), 0) << "no read overlapped the writes";
}
