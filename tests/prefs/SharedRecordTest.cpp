// Records in the shared suite: JSON round trips and refusals that keep what
// is stored. That a value is never seen torn is the kill test's.
#include "PrefsFixture.h"
#include "prefs/SharedDefaults.h"

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
