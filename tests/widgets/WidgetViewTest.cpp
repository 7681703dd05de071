// The widget's views offscreen, fed by the real provider from snapshots the
// application side stored.
#include "RenderedWidget.h"
#include "WordingClock.h"

#include <QSignalSpy>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

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

WidgetSnapshot sampleWith(const std::function<void(WidgetSnapshot &)> &change)
{
    WidgetSnapshot s = sampleSnapshot();
    change(s);
    return s;
}

const Size sizes[] = {Size::small, Size::medium};

} // namespace

// A current status shows the name, the emoji, the text and the mood, and in
// the medium size the elapsed time; every line stays one line inside the
// widget, long ones cut. A picture that is missing or broken shows the
// placeholder circle beside the mood.
TEST(WidgetViews, ACurrentStatusShowsItsLinesCutToTheWidgetAndThePictureOrThePlaceholder)
{
    const QByteArray png = *sampleSnapshot().avatarImageData;
    const QString longName = QStringLiteral("Maximiliane Alexandra von Hohenzollern-Sigmaringen");
    const QString longText = QStringLiteral("Stuck on a very long train ride through three countries with no signal at all");
    const QStringList current{QStringLiteral("Quil"), QStringLiteral("🥰"), QStringLiteral("Thinking of you")};
    const struct {
        const char *what;
        WidgetSnapshot snapshot;
        QStringList texts;
        bool picture = true;
    } cases[] = {
        {"current", sampleSnapshot(), current},
        {"without emoji", sampleWith([](WidgetSnapshot &s) { s.emoji.reset(); s.statusText = QStringLiteral("Working late"); }),
         {QStringLiteral("Quil"), QStringLiteral("Working late")}},
        {"long texts", sampleWith([&](WidgetSnapshot &s) { s.displayName = longName; s.statusText = longText; s.emoji.reset(); }),
         {longName, longText}},
        {"the download has not finished", sampleWith([](WidgetSnapshot &s) { s.avatarImageData.reset(); }), current, false},
        {"cut off", sampleWith([&](WidgetSnapshot &s) { s.avatarImageData = png.left(png.size() / 2); }), current, false},
    };
    AppSide app;
    for (const auto &c : cases) {
        app.write(c.snapshot);
        for (const Size size : sizes) {
            SCOPED_TRACE(::testing::Message() << c.what << ' ' << int(size));
            RenderedWidget widget(app, size);
            QStringList texts = widget.visibleTexts();
            if (size == Size::medium) {
                ASSERT_EQ(texts.size(), c.texts.size() + 1) << texts.join('|').toStdString();
                EXPECT_TRUE(texts.takeLast().contains(QStringLiteral("5 min")));
            }
            EXPECT_EQ(texts, c.texts);
            EXPECT_EQ(widget.emojiShown(), c.snapshot.emoji.has_value());
            EXPECT_EQ(widget.badgeShown(), QStringLiteral("heart.fill"));
            EXPECT_EQ(widget.pictureDrawn(), c.picture);
            EXPECT_EQ(widget.placeholderShown(), !c.picture);
            for (const QString &text : widget.visibleTexts()) {
                QQuickItem *item = widget.visibleTextItem(text);
                EXPECT_EQ(item->property("truncated").toBool(), text == longName || text == longText) << text.toStdString();
                EXPECT_EQ(item->property("lineCount").toInt(), 1) << text.toStdString();
                EXPECT_TRUE(fitsInside(item, widget.view())) << text.toStdString();
            }
        }
    }
}

TEST(WidgetViews, TheElapsedTimeIsCountedToTheMomentTheWidgetDrawsAndNeverLiesAhead)
{
    AppSide app;
    // The widget's clock, far from the machine's.
    QDateTime now(QDate(2031, 3, 14), QTime(9, 30), Qt::UTC);
    app.write(sampleSnapshot(now.addSecs(-300)));
    RenderedWidget medium(app, Size::medium, [&now] { return now; });
    EXPECT_EQ(medium.visibleTexts().constLast(), QStringLiteral("5 min. ago"));

    // A push brings a new status a while after the widget was first drawn,
    // set five seconds before the reload or stamped by a service clock three
    // seconds ahead; the host reloads the widget that is on screen. The
    // wording's own rules are the relative time's suite's.
    for (const auto &[statusAge, shown] : {std::pair{5, "5 sec. ago"}, std::pair{-3, "now"}}) {
        now = now.addSecs(90);
        app.write(sampleSnapshot(now.addSecs(-statusAge)));
        medium.reload();
        EXPECT_EQ(medium.visibleTexts().constLast(), QString::fromUtf8(shown)) << statusAge;
    }

    // Shown again after a while away: counted to that moment.
    app.write(sampleSnapshot(now));
    medium.reload();
    medium.view()->window()->hide();
    now = now.addSecs(120);
    medium.view()->window()->show();
    EXPECT_EQ(medium.visibleTexts().constLast(), QStringLiteral("2 min. ago"));
}

TEST(WidgetViews, AnAbsurdPictureSizeIsRefusedBeforeDecoding)
{
    // A PNG header claiming 100000 × 100000 pixels.
    QByteArray png = *sampleSnapshot().avatarImageData;
    const char huge[] = {0, 1, char(0x86), char(0xA0)};
    png.replace(16, 4, huge, 4);
    png.replace(20, 4, huge, 4);
    EXPECT_TRUE(DecodedPicture::decode(png).isNull());
}

// An expired status shows "No status", no mood and no elapsed time and
// leads home; while the app cannot reach the service the last line says so
// with the snapshot's age; without a snapshot (the provider's suite turns
// unreadable ones into none) the empty state leads to the status picker.
// In both languages, on both palettes, in both sizes. (Without the offline
// mark the elapsed time is back, as for any current status.)
TEST(WidgetViews, ExpiredOfflineAndEmptyStatesInBothLanguagesAndBothPalettes)
{
    AppSide app;
    const QDateTime now(QDate(2031, 3, 14), QTime(9, 30), Qt::UTC);
    WidgetSnapshot offline = sampleSnapshot(now.addSecs(-3600));
    offline.offlineUpdatedAt = now.addSecs(-5 * 60);
    const QString home = QStringLiteral("vorlia://home");
    const struct {
        const char *state;
        std::function<void()> write;
        QString english;
        QString german;
        QString badge;
        QString tapURL = QStringLiteral("vorlia://status");
    } states[] = {
        {"expired",
         [&app] { app.write(sampleWith([](WidgetSnapshot &s) { s.isExpired = true; s.visualState = StatusVisualState::happy; })); },
         QStringLiteral("No status"), QStringLiteral("Kein Status"), QString(), home},
        {"offline", [&] { app.write(offline); }, QStringLiteral("Offline · updated 5 min. ago"),
         QStringLiteral("Offline · aktualisiert vor 5 Min."), QStringLiteral("heart.fill"), home},
        {"empty", [&app] { app.clear(); }, QStringLiteral("No main person yet"), QStringLiteral("Noch keine Hauptperson"), QString()},
    };
    for (const auto &state : states) {
        state.write();
        const bool withSnapshot = state.tapURL == home;
        for (const AppLanguage language : {AppLanguage::english, AppLanguage::german}) {
            for (const Appearance::ColorScheme scheme : {Appearance::ColorScheme::light, Appearance::ColorScheme::dark}) {
                for (const Size size : sizes) {
                    SCOPED_TRACE(::testing::Message() << state.state << ' ' << int(size) << ' ' << int(language) << ' ' << int(scheme));
                    RenderedWidget widget(app, size, [now] { return now; }, language, scheme);
                    const QString expected = language == AppLanguage::german ? state.german : state.english;
                    const QStringList texts = widget.visibleTexts();
                    EXPECT_EQ(texts.last(), expected);
                    EXPECT_EQ(texts.first() == QStringLiteral("Quil"), withSnapshot);
                    EXPECT_EQ(widget.pictureDrawn(), withSnapshot);
                    if (state.badge.isEmpty() && withSnapshot) {
                        EXPECT_EQ(texts.size(), 2) << "an expired status shows only the name and the line";
                    }
                    EXPECT_EQ(widget.badgeShown(), state.badge);
                    EXPECT_EQ(widget.tapURL(), state.tapURL);
                    // The background and the line follow the palette, and the line fits.
                    const bool dark = scheme == Appearance::ColorScheme::dark;
                    const QImage image = widget.view()->window()->grabWindow();
                    EXPECT_EQ(image.pixelColor(image.width() / 2, 6).lightness() < 128, dark);
                    QQuickItem *text = widget.visibleTextItem(expected);
                    ASSERT_TRUE(text);
                    EXPECT_EQ(text->property("color").value<QColor>().lightness() > 128, dark);
                    EXPECT_TRUE(fitsInside(text, widget.view()));
                }
            }
        }
    }
}

// A line worded by the clock is worded as it comes into view, then every
// period, and never while the widget is hidden; an expired status has
// nothing to count.
TEST(WidgetViews, TheElapsedTimeIsWordedAsItComesIntoViewThenEveryPeriodAndNeverOutOfView)
{
    AppSide app;
    app.write(sampleSnapshot());
    RenderedWidget medium(app, Size::medium);
    const auto ticking = [](const RenderedWidget &widget) {
        const auto clocks = widget.view()->findChildren<WordingClock *>();
        return std::any_of(clocks.begin(), clocks.end(), [](const WordingClock *clock) { return clock->inView(); });
    };
    EXPECT_TRUE(ticking(medium));
    medium.view()->window()->hide();
    EXPECT_FALSE(ticking(medium)) << "a hidden widget must cost nothing";
    medium.view()->window()->show();
    EXPECT_TRUE(ticking(medium));
    app.write(sampleWith([](WidgetSnapshot &s) { s.isExpired = true; }));
    EXPECT_FALSE(ticking(RenderedWidget(app, Size::medium)));

    // Out of view its timer is stopped, which is what inView() reads.
    WordingClock clock(nullptr, std::chrono::milliseconds(40));
    QSignalSpy due(&clock, &WordingClock::wordingDue);
    clock.setInView(true);
    EXPECT_EQ(due.count(), 1);
    EXPECT_TRUE(due.wait(1000));
}
