// The widget's timeline provider and bundle, against snapshots the
// application side stored with its own writer.
#include "MainPersonTimelineProvider.h"
#include "VorlieWidgetsBundle.h"
#include "WidgetFixtures.h"

#include <QBuffer>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace vorlie;
using vorlie::testing::AppSide;
using vorlie::testing::sampleSnapshot;

namespace {

const QTimeZone berlin("Europe/Berlin");

// An instant written with its UTC offset, seen in Berlin.
QDateTime at(const char *isoWithOffset)
{
    return QDateTime::fromString(QString::fromLatin1(isoWithOffset), Qt::ISODate).toTimeZone(berlin);
}

struct Fixture {
    AppSide app;
    QDateTime now = at("2026-06-01T10:00:00+02:00");
    MainPersonTimelineProvider provider{app.defaults, QLocale(QLocale::English), [this] { return now; }, berlin};
    widgetkit::TimelineContext context{widgetkit::WidgetFamily::medium, QSizeF(364, 170)};

    static const MainPersonEntry &entryOf(const widgetkit::TimelineEntry &entry)
    {
        const auto *content = qobject_cast<const MainPersonEntry *>(entry.content.get());
        EXPECT_NE(content, nullptr);
        return *content;
    }
    std::optional<WidgetSnapshot> shown() const { return entryOf(provider.snapshot({}, context)).snapshot(); }
};

} // namespace

TEST(MainPersonTimelineProvider, EveryRequestReadsWhatTheApplicationStoredLastAndTheWidgetsOptionButThePlaceholderAlwaysShowsTheTime)
{
    Fixture f;
    const WidgetSnapshot first = sampleSnapshot();
    f.app.write(first);
    EXPECT_EQ(f.shown(), first);

    WidgetSnapshot second = first;
    second.statusText = QStringLiteral("At home");
    second.emoji.reset();
    second.avatarImageData.reset();
    f.app.write(second);
    const auto timeline = f.provider.timeline({}, f.context);
    ASSERT_EQ(timeline.entries.size(), 1);
    EXPECT_EQ(Fixture::entryOf(timeline.entries.first()).snapshot(), second);

    const auto shows = [&f](const widgetkit::WidgetConfiguration &configuration) {
        return std::pair{Fixture::entryOf(f.provider.snapshot(configuration, f.context)).showUpdatedTime(),
                         Fixture::entryOf(f.provider.timeline(configuration, f.context).entries.first()).showUpdatedTime()};
    };
    // A new widget has no stored option: the default is on. A value of the
    // wrong type, e.g. from a hand-edited host file, keeps the default.
    EXPECT_EQ(shows({}), std::pair(true, true));
    EXPECT_EQ(shows({{QStringLiteral("showUpdatedTime"), false}}), std::pair(false, false));
    EXPECT_EQ(shows({{QStringLiteral("showUpdatedTime"), QStringLiteral("nope")}}), std::pair(true, true));
    EXPECT_TRUE(Fixture::entryOf(f.provider.placeholder(f.context)).showUpdatedTime());

    // With nothing stored every request gives an entry without snapshot.
    f.app.clear();
    const auto placeholder = f.provider.placeholder(f.context);
    const auto snapshot = f.provider.snapshot({}, f.context);
    const auto emptyTimeline = f.provider.timeline({}, f.context);
    ASSERT_EQ(emptyTimeline.entries.size(), 1);
    for (const auto *entry : {&placeholder, &snapshot, &emptyTimeline.entries.first()}) {
        EXPECT_EQ(entry->date, f.now);
        EXPECT_EQ(Fixture::entryOf(*entry).date(), f.now);
        EXPECT_FALSE(Fixture::entryOf(*entry).snapshot());
        EXPECT_EQ(Fixture::entryOf(*entry).snapshotObject(), nullptr);
    }
}

TEST(MainPersonTimelineProvider, BadStoredDataGivesNoSnapshotAndANewerWritersExtraKeysAreIgnored)
{
    Fixture f;
    f.app.write(sampleSnapshot());
    const QByteArray good = f.app.stored();
    ASSERT_FALSE(good.isEmpty());

    QJsonObject newer = QJsonDocument::fromJson(good).object();
    newer.insert(QStringLiteral("pronouns"), QStringLiteral("they"));
    newer.insert(QStringLiteral("accent"), QJsonObject{{QStringLiteral("hue"), 12}});
    f.app.writeRaw(QJsonDocument(newer).toJson());
    ASSERT_TRUE(f.shown());
    EXPECT_EQ(f.shown()->displayName, QStringLiteral("Quil"));

    QJsonObject unknownMood = QJsonDocument::fromJson(good).object();
    unknownMood.insert(QStringLiteral("visualState"), QStringLiteral("ecstatic"));
    QJsonObject withoutName = QJsonDocument::fromJson(good).object();
    withoutName.remove(QStringLiteral("displayName"));

    const QList<QByteArray> bad{
        good.left(good.size() / 2),                                  // cut off mid-write
        good.left(good.size() - 1),                                  // one byte short
        QByteArray("not json at all"),
        QByteArray(4096, '\0'),
        QByteArray("[]"),
        QByteArray("{\"data\":{\"mainPerson\":null}}"),              // another record
        QJsonDocument(unknownMood).toJson(),
        QJsonDocument(withoutName).toJson(),
        QByteArray("{\"personID\":") + QByteArray(200000, '['),     // deep nesting
    };
    for (const QByteArray &data : bad) {
        f.app.writeRaw(data);
        EXPECT_FALSE(f.shown()) << data.left(60).toStdString();
        EXPECT_FALSE(Fixture::entryOf(f.provider.placeholder(f.context)).snapshot());
    }
}

// A reload whose snapshot kept its picture shows the image decoded before;
// a new picture, an undecodable one or none is never mistaken for it.
TEST(MainPersonTimelineProvider, ThePictureStoredLastIsShownAndDecodedAgainOnlyWhenItsBytesChange)
{
    Fixture f;
    const QByteArray first = sampleSnapshot().avatarImageData.value();
    QImage red(8, 8, QImage::Format_ARGB32);
    red.fill(Qt::red);
    QByteArray second;
    QBuffer buffer(&second);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && red.save(&buffer, "PNG"));

    struct Step {
        const char *stored;
        std::optional<QByteArray> picture;
        QSize shownSize; // 0 x 0 for no picture
        bool sameImageAsBefore;
    };
    const QSize firstSize = QImage::fromData(first).size();
    const std::vector<Step> steps{
        {"the first picture", first, firstSize, false},
        {"the same bytes again", first, firstSize, true},
        {"another picture", second, QSize(8, 8), false},
        {"bytes that do not decode", QByteArray("\x89PNG not really"), QSize(0, 0), false},
        {"no picture", std::nullopt, QSize(0, 0), false},
        {"the first picture once more", first, firstSize, false},
    };
    qint64 before = 0;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.stored);
        WidgetSnapshot stored = sampleSnapshot();
        stored.avatarImageData = step.picture;
        f.app.write(stored);
        const auto entry = f.provider.timeline({}, f.context).entries.first();
        const QImage &shown = Fixture::entryOf(entry).snapshotObject()->picture();
        EXPECT_EQ(shown.size(), step.shownSize);
        if (!shown.isNull()) {
            EXPECT_EQ(shown.cacheKey() == before, step.sameImageAsBefore);
        }
        before = shown.cacheKey();
    }
}

TEST(MainPersonTimelineProvider, ReloadsFifteenRealMinutesLaterAcrossDaylightSavingChangesAndInAZoneWithoutCalendar)
{
    const struct {
        const char *now;
        const char *expectedLocal;
    } cases[] = {
        {"2026-06-01T10:00:00+02:00", "2026-06-01T10:15:00"},
        // Spring forward at 02:00 CET: 02:05 does not exist.
        {"2026-03-29T01:50:00+01:00", "2026-03-29T03:05:00"},
        // Fall back at 03:00 CEST to 02:00 CET: the wall clock moves back.
        {"2026-10-25T02:50:00+02:00", "2026-10-25T02:05:00"},
    };
    for (const auto &c : cases) {
        Fixture f;
        f.now = at(c.now);
        const widgetkit::Timeline timeline = f.provider.timeline({}, f.context);
        ASSERT_TRUE(timeline.reloadAfter) << c.now;
        EXPECT_EQ(f.now.secsTo(*timeline.reloadAfter), 900) << c.now;
        EXPECT_EQ(timeline.reloadAfter->toTimeZone(berlin).toString(Qt::ISODate).left(19).toStdString(), c.expectedLocal)
            << c.now;
    }
    // A zone without a calendar still reloads 900 seconds later.
    const QDateTime now = QDateTime::fromSecsSinceEpoch(1'780'000'000, Qt::UTC);
    const QDateTime next = MainPersonTimelineProvider::nextReload(now, QTimeZone("No/Such_Zone"));
    ASSERT_TRUE(next.isValid());
    EXPECT_EQ(now.secsTo(next), 900);
}

// The host finds the widget by its kind, sizes and option, which its own
// suite drives; here, the language its names are in (how a stored value
// reads as a language is the language suite's).
TEST(VorlieWidgetsBundle, DeclaresTheMainPersonWidgetInTheLanguageStoredWhenItIsMade)
{
    AppSide app;
    const auto clock = [] { return QDateTime::currentDateTimeUtc(); };
    ASSERT_TRUE(writeStoredLanguage(app.defaults, AppLanguage::german));
    VorlieWidgetsBundle german(app.defaults, clock, berlin);
    ASSERT_TRUE(writeStoredLanguage(app.defaults, AppLanguage::english));
    EXPECT_EQ(german.widgets().first().displayName, QStringLiteral("Hauptperson"));
    EXPECT_EQ(german.widgets().first().parameters.first().title, QStringLiteral("Zeit der Aktualisierung anzeigen"));
    EXPECT_EQ(VorlieWidgetsBundle(app.defaults, clock, berlin).widgets().first().displayName, QStringLiteral("Main person"));
}
