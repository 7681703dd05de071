// The widget's views offscreen, fed by the real provider from snapshots the
// application side stored.
#include "RenderedWidget.h"
#include "WordingClock.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string_view>

Q_IMPORT_QML_PLUGIN(Vorlie_WidgetsPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_AvatarPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_ThemePlugin)

using namespace vorlie;
using namespace vorlie::testing;

namespace {

bool fitsInside(const QQuickItem *item, const QQuickItem *root)
{
    const QRectF box = item->mapRectToItem(root, QRectF(0, 0, item->width(), item->height()));
    return box.left() >= 0 && box.right() <= root->width() + 0.5;
}

WidgetSnapshot expired()
{
    WidgetSnapshot s = sampleSnapshot();
    s.isExpired = true;
    s.statusText = QStringLiteral("Old news");
    s.visualState = StatusVisualState::happy;
    return s;
}

} // namespace

TEST(WidgetViews, ACurrentStatusShowsEmojiTextMoodAndInTheMediumSizeTheElapsedTimeAndWithoutEmojiOnlyText)
{
    AppSide app;
    app.write(sampleSnapshot());
    {
        RenderedWidget small(app, Size::small);
        EXPECT_EQ(small.visibleTexts(), (QStringList{QStringLiteral("Quil"), QStringLiteral("🥰"), QStringLiteral("Thinking of you")}));
        EXPECT_EQ(small.badgeShown(), QStringLiteral("heart.fill"));
        EXPECT_TRUE(small.emojiShown());
    }
    RenderedWidget medium(app, Size::medium);
    const QStringList texts = medium.visibleTexts();
    ASSERT_EQ(texts.size(), 4) << texts.join('|').toStdString();
    EXPECT_EQ(texts.mid(0, 3), (QStringList{QStringLiteral("Quil"), QStringLiteral("🥰"), QStringLiteral("Thinking of you")}));
    EXPECT_TRUE(texts[3].contains(QStringLiteral("5 min"))) << texts[3].toStdString();
    EXPECT_EQ(medium.badgeShown(), QStringLiteral("heart.fill"));

    // Without an emoji only the text shows.
    WidgetSnapshot s = sampleSnapshot();
    s.emoji.reset();
    s.statusText = QStringLiteral("Working late");
    app.write(s);
    for (const Size size : {Size::small, Size::medium}) {
        RenderedWidget widget(app, size);
        EXPECT_EQ(widget.visibleTexts().mid(0, 2), (QStringList{QStringLiteral("Quil"), QStringLiteral("Working late")}));
        EXPECT_FALSE(widget.emojiShown());
    }
}

TEST(WidgetViews, TheElapsedTimeIsCountedToTheMomentTheWidgetDrawsAndNeverLiesAhead)
{
    AppSide app;
    // The widget's clock, far from the machine's.
    QDateTime now(QDate(2031, 3, 14), QTime(9, 30), Qt::UTC);
    app.write(sampleSnapshot(now.addSecs(-300)));
    RenderedWidget medium(app, Size::medium, {}, [&now] { return now; });
    EXPECT_EQ(medium.visibleTexts().constLast(), QStringLiteral("5 min. ago"));

    // A push brings a new status a while after the widget was first drawn;
    // the host reloads the widget that is on screen.
    const struct {
        const char *what;
        qint64 statusAge; // seconds before the widget's clock; negative: after it
        const char *shown;
    } reloads[] = {
        {"set just now", 0, "0 sec. ago"},
        {"set five seconds before the reload", 5, "5 sec. ago"},
        {"stamped by a service clock three seconds ahead", -3, "now"},
        {"stamped a day ahead", -86400, "now"},
    };
    for (const auto &reload : reloads) {
        now = now.addSecs(90);
        app.write(sampleSnapshot(now.addSecs(-reload.statusAge)));
        medium.reload();
        EXPECT_EQ(medium.visibleTexts().constLast(), QString::fromUtf8(reload.shown)) << reload.what;
    }

    // Shown again after a while away: counted to that moment.
    app.write(sampleSnapshot(now));
    medium.reload();
    medium.view()->window()->hide();
    now = now.addSecs(120);
    medium.view()->window()->show();
    EXPECT_EQ(medium.visibleTexts().constLast(), QStringLiteral("2 min. ago"));
}

TEST(WidgetViews, LongTextsAreCutToOneLineInsideTheWidget)
{
    AppSide app;
    WidgetSnapshot s = sampleSnapshot();
    s.displayName = QStringLiteral("Maximiliane Alexandra von Hohenzollern-Sigmaringen");
    s.statusText = QStringLiteral("Stuck on a very long train ride through three countries with no signal at all");
    app.write(s);
    for (const Size size : {Size::small, Size::medium}) {
        RenderedWidget widget(app, size);
        for (const QString &text : {s.displayName, s.statusText}) {
            QQuickItem *item = widget.visibleTextItem(text);
            ASSERT_TRUE(item) << text.toStdString();
            EXPECT_TRUE(item->property("truncated").toBool()) << text.toStdString();
            EXPECT_EQ(item->property("lineCount").toInt(), 1);
            EXPECT_TRUE(fitsInside(item, widget.view())) << text.toStdString();
        }
    }
}

TEST(WidgetViews, AMissingOrBrokenPictureShowsThePlaceholderCircle)
{
    AppSide app;
    WidgetSnapshot s = sampleSnapshot();
    const QByteArray png = *s.avatarImageData;
    const QList<std::optional<QByteArray>> pictures{
        std::nullopt,                                  // the download has not finished
        QByteArray("<html>502 Bad Gateway</html>"),    // an error page
        png.left(png.size() / 2),                      // cut off
        QByteArray(64, '\xff'),
    };
    int n = 0;
    for (const auto &picture : pictures) {
        s.avatarImageData = picture;
        app.write(s);
        for (const Size size : {Size::small, Size::medium}) {
            RenderedWidget widget(app, size);
            EXPECT_FALSE(widget.pictureDrawn()) << n;
            EXPECT_TRUE(widget.placeholderShown()) << n;
            EXPECT_EQ(widget.badgeShown(), QStringLiteral("heart.fill")) << "the mood stays beside the placeholder";
        }
        ++n;
    }
    // The next write with a picture replaces the placeholder.
    s.avatarImageData = png;
    app.write(s);
    RenderedWidget widget(app, Size::small);
    EXPECT_TRUE(widget.pictureDrawn());
    EXPECT_FALSE(widget.placeholderShown());
}

TEST(WidgetViews, AnAbsurdPictureSizeIsRefusedBeforeDecoding)
{
    // A PNG header claiming 100000 × 100000 pixels.
    QImage tiny(1, 1, QImage::Format_ARGB32);
    tiny.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    tiny.save(&buffer, "PNG");
    const char huge[] = {0, 1, char(0x86), char(0xA0)};
    png.replace(16, 4, huge, 4);
    png.replace(20, 4, huge, 4);
    EXPECT_TRUE(DecodedPicture::decode(png).isNull());
}

namespace {

const Look looks[] = {
    {AppLanguage::english, Appearance::ColorScheme::light},
    {AppLanguage::english, Appearance::ColorScheme::dark},
    {AppLanguage::german, Appearance::ColorScheme::light},
    {AppLanguage::german, Appearance::ColorScheme::dark},
};

} // namespace

// An expired status shows "No status", no mood and no elapsed time and
// leads home; without a (readable) snapshot the empty state leads to the
// status picker. In both languages, on both palettes, in both sizes.
TEST(WidgetViews, ExpiredAndEmptyStatesInBothLanguagesAndBothPalettes)
{
    AppSide app;
    const std::pair<const char *, std::function<void()>> states[] = {
        {"expired", [&app] { app.write(expired()); }},
        {"empty", [&app] { app.clear(); }},
        {"corrupt", [&app] { app.writeRaw("{\"personID\": \"p-quil\", \"displayName\": \"Qu"); }},
    };
    for (const auto &[state, write] : states) {
        write();
        const bool withSnapshot = state == std::string_view("expired");
        for (const Look &look : looks) {
            for (const Size size : {Size::small, Size::medium}) {
                RenderedWidget widget(app, size, look);
                const bool german = look.language == AppLanguage::german;
                const bool dark = look.scheme == Appearance::ColorScheme::dark;
                SCOPED_TRACE(::testing::Message() << state << ' ' << int(size) << ' ' << int(look.language) << ' ' << int(look.scheme));
                const QImage image = widget.grab();
                const QString expected = withSnapshot ? (german ? QStringLiteral("Kein Status") : QStringLiteral("No status"))
                                                      : (german ? QStringLiteral("Noch keine Hauptperson")
                                                                : QStringLiteral("No main person yet"));
                if (withSnapshot) {
                    EXPECT_EQ(widget.visibleTexts(), (QStringList{QStringLiteral("Quil"), expected}));
                    EXPECT_EQ(widget.badgeShown(), QString()) << "an expired status shows the neutral mood";
                    EXPECT_TRUE(widget.pictureDrawn());
                }
                EXPECT_EQ(widget.visibleTexts().last(), expected);
                EXPECT_EQ(widget.tapURL(), withSnapshot ? QStringLiteral("vorlia://home") : QStringLiteral("vorlia://status"));
                // The background follows the palette.
                const QColor background = image.pixelColor(image.width() / 2, 6);
                EXPECT_EQ(background.lightness() < 128, dark);
                QQuickItem *text = widget.visibleTextItem(expected);
                ASSERT_TRUE(text);
                EXPECT_EQ(text->property("color").value<QColor>().lightness() > 128, dark);
            }
        }
    }
}

TEST(WidgetViews, WhileTheAppCannotReachTheServiceBothSizesSaySoWithTheSnapshotsAge)
{
    AppSide app;
    const QDateTime now(QDate(2031, 3, 14), QTime(9, 30), Qt::UTC);
    WidgetSnapshot s = sampleSnapshot(now.addSecs(-3600));
    s.offlineUpdatedAt = now.addSecs(-5 * 60);
    app.write(s);
    for (const Look &look : looks) {
        for (const Size size : {Size::small, Size::medium}) {
            RenderedWidget widget(app, size, look, [now] { return now; });
            const QString line = look.language == AppLanguage::german ? QStringLiteral("Offline · aktualisiert vor 5 Min.")
                                                                       : QStringLiteral("Offline · updated 5 min. ago");
            EXPECT_EQ(widget.visibleTexts().constLast(), line);
            QQuickItem *item = widget.visibleTextItem(line);
            ASSERT_TRUE(item);
            EXPECT_TRUE(fitsInside(item, widget.view()));
        }
    }
    // The next good sync writes the snapshot without it.
    s.offlineUpdatedAt.reset();
    app.write(s);
    RenderedWidget medium(app, Size::medium, {}, [now] { return now; });
    EXPECT_EQ(medium.visibleTexts().constLast(), QStringLiteral("1 hr. ago"));
}

// Whether a line of the widget is kept worded by the clock.
bool ticking(const RenderedWidget &widget)
{
    const auto clocks = widget.view()->findChildren<WordingClock *>();
    return std::any_of(clocks.begin(), clocks.end(), [](const WordingClock *clock) { return clock->inView(); });
}

TEST(WidgetViews, TheElapsedTimeTicksOnlyWhileTheWidgetIsShown)
{
    AppSide app;
    app.write(sampleSnapshot());
    RenderedWidget medium(app, Size::medium);
    EXPECT_TRUE(ticking(medium));
    medium.view()->window()->hide();
    EXPECT_FALSE(ticking(medium)) << "a hidden widget must cost nothing";
    medium.view()->window()->show();
    EXPECT_TRUE(ticking(medium));

    // Nothing to count for an expired status.
    WidgetSnapshot expiredStatus = sampleSnapshot();
    expiredStatus.isExpired = true;
    app.write(expiredStatus);
    EXPECT_FALSE(ticking(RenderedWidget(app, Size::medium)));
}

TEST(WidgetViews, TheClockWordsALineAsItComesIntoViewThenEveryPeriodAndNeverOutOfView)
{
    WordingClock clock(nullptr, std::chrono::milliseconds(40));
    QSignalSpy due(&clock, &WordingClock::wordingDue);
    clock.setInView(true);
    EXPECT_EQ(due.count(), 1);
    EXPECT_TRUE(due.wait(1000));
    clock.setInView(false);
    due.clear();
    QTest::qWait(120); // three periods in which nothing may come
    EXPECT_EQ(due.count(), 0);
}
