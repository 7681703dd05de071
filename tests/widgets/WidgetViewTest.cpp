// The widget's views offscreen, fed by the real provider from snapshots the
// application side stored. Every case leaves a screenshot in
// screenshots/ of the build folder.
#include "DecodedPicture.h"
#include "MainPersonEntry.h"
#include "VorlieWidgetsBundle.h"
#include "WidgetEngine.h"
#include "WidgetFixtures.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QBuffer>
#include <QtPlugin>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include <algorithm>

Q_IMPORT_QML_PLUGIN(Vorlie_WidgetsPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_AvatarPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_ThemePlugin)

using namespace vorlie;
using vorlie::testing::AppSide;
using vorlie::testing::sampleSnapshot;

namespace {

enum class Size { small, medium };

struct Look {
    AppLanguage language = AppLanguage::english;
    Appearance::ColorScheme scheme = Appearance::ColorScheme::light;
};

// One widget as the host shows it.
class RenderedWidget {
public:
    RenderedWidget(AppSide &app, Size size, Look look = {})
    {
        writeStoredLanguage(app.defaults, look.language);
        m_bundle = std::make_unique<VorlieWidgetsBundle>(app.defaults, [] { return QDateTime::currentDateTimeUtc(); },
                                                         QTimeZone::systemTimeZone());
        prepareWidgetEngine(m_engine).setColorScheme(look.scheme);
        const widgetkit::WidgetDeclaration widget = m_bundle->widgets().first();
        const auto family = size == Size::small ? widgetkit::WidgetFamily::small : widgetkit::WidgetFamily::medium;
        m_entry = widget.provider->timeline({}, {family, {}}).entries.first().content;

        QQmlComponent component(&m_engine, widget.view);
        m_view.reset(qobject_cast<QQuickItem *>(component.createWithInitialProperties(
            {{QStringLiteral("entry"), QVariant::fromValue(m_entry.get())},
             {QStringLiteral("family"), widgetkit::familyName(family)}})));
        EXPECT_TRUE(m_view) << component.errorString().toStdString();
        m_window.setColor(Qt::transparent);
        m_window.resize(size == Size::small ? QSize(170, 170) : QSize(364, 170));
        if (m_view) {
            m_view->setParentItem(m_window.contentItem());
            m_view->setSize(m_window.size());
        }
        m_window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }
    ~RenderedWidget() { m_view.reset(); }

    QQuickItem *view() const { return m_view.get(); }
    QString tapURL() const { return m_view->property("widgetURL").toUrl().toString(); }

    QImage shot(const QString &name)
    {
        QImage image = m_window.grabWindow();
        const QString dir = QStringLiteral(VORLIE_SCREENSHOT_DIR);
        QDir().mkpath(dir);
        image.save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
        return image;
    }

    // Texts actually on screen, without symbols.
    QStringList visibleTexts() const
    {
        QStringList texts;
        forEachVisible(m_view.get(), [&texts](QQuickItem *item) {
            if (isText(item) && !item->property("text").toString().isEmpty())
                texts << item->property("text").toString();
        });
        return texts;
    }
    QQuickItem *visibleTextItem(const QString &text) const
    {
        QQuickItem *found = nullptr;
        forEachVisible(m_view.get(), [&](QQuickItem *item) {
            if (!found && isText(item) && item->property("text").toString() == text)
                found = item;
        });
        return found;
    }
    bool emojiShown() const
    {
        bool shown = false;
        forEachVisible(m_view.get(), [&shown](QQuickItem *item) {
            shown = shown
                || (isText(item) && !item->property("text").toString().isEmpty()
                    && item->property("font").value<QFont>().family() == QLatin1String("Noto Color Emoji"));
        });
        return shown;
    }
    // The mood badge, when one is drawn.
    QString badgeShown() const
    {
        QString symbol;
        forEachVisible(m_view.get(), [&symbol](QQuickItem *item) {
            if (item->metaObject()->indexOfProperty("symbolName") >= 0)
                symbol = item->property("symbolName").toString();
        });
        return symbol;
    }
    bool pictureDrawn() const
    {
        bool drawn = false;
        forEachVisible(m_view.get(), [&drawn](QQuickItem *item) {
            if (auto *picture = qobject_cast<DecodedPicture *>(item))
                drawn = drawn || picture->decoded();
        });
        return drawn;
    }
    bool placeholderShown() const
    {
        bool shown = false;
        forEachVisible(m_view.get(), [&shown](QQuickItem *item) {
            shown = shown || QString::fromLatin1(item->metaObject()->className()).startsWith(QLatin1String("AvatarPlaceholder"));
        });
        return shown;
    }

private:
    static bool isText(const QQuickItem *item)
    {
        return item->metaObject()->indexOfProperty("truncated") >= 0
            && item->property("font").value<QFont>().family() != QLatin1String("Material Icons");
    }

    template<typename F>
    static void forEachVisible(QQuickItem *item, F &&visit)
    {
        if (!item || !item->isVisible())
            return;
        visit(item);
        const auto children = item->childItems();
        for (QQuickItem *child : children)
            forEachVisible(child, visit);
    }

    QQmlEngine m_engine;
    std::unique_ptr<VorlieWidgetsBundle> m_bundle;
    std::shared_ptr<QObject> m_entry;
    QQuickWindow m_window;
    std::unique_ptr<QQuickItem> m_view;
};

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

TEST(WidgetViews, AnExpiredStatusShowsNoStatusNoMoodAndNoElapsedTimeInBothSizes)
{
    AppSide app;
    app.write(expired());
    for (const Size size : {Size::small, Size::medium}) {
        RenderedWidget widget(app, size);
        widget.shot(size == Size::small ? QStringLiteral("small-expired") : QStringLiteral("medium-expired"));
        const QStringList texts = widget.visibleTexts();
        EXPECT_EQ(texts, (QStringList{QStringLiteral("Quil"), QStringLiteral("No status")})) << texts.join('|').toStdString();
        EXPECT_EQ(widget.badgeShown(), QString()) << "an expired status shows the neutral mood";
        EXPECT_TRUE(widget.pictureDrawn());
        EXPECT_EQ(widget.tapURL(), QStringLiteral("vorlia://home"));
    }
}

TEST(WidgetViews, ACurrentStatusShowsEmojiTextMoodAndInTheMediumSizeTheElapsedTime)
{
    AppSide app;
    app.write(sampleSnapshot());
    {
        RenderedWidget small(app, Size::small);
        small.shot(QStringLiteral("small-status"));
        EXPECT_EQ(small.visibleTexts(), (QStringList{QStringLiteral("Quil"), QStringLiteral("🥰"), QStringLiteral("Thinking of you")}));
        EXPECT_EQ(small.badgeShown(), QStringLiteral("heart.fill"));
        EXPECT_TRUE(small.emojiShown());
    }
    RenderedWidget medium(app, Size::medium);
    medium.shot(QStringLiteral("medium-status"));
    const QStringList texts = medium.visibleTexts();
    ASSERT_EQ(texts.size(), 4) << texts.join('|').toStdString();
    EXPECT_EQ(texts.mid(0, 3), (QStringList{QStringLiteral("Quil"), QStringLiteral("🥰"), QStringLiteral("Thinking of you")}));
    EXPECT_TRUE(texts[3].contains(QStringLiteral("5 min"))) << texts[3].toStdString();
    EXPECT_EQ(medium.badgeShown(), QStringLiteral("heart.fill"));
}

TEST(WidgetViews, AStatusWithoutEmojiShowsOnlyItsText)
{
    AppSide app;
    WidgetSnapshot s = sampleSnapshot();
    s.emoji.reset();
    s.statusText = QStringLiteral("Working late");
    s.visualState = StatusVisualState::working;
    app.write(s);
    for (const Size size : {Size::small, Size::medium}) {
        RenderedWidget widget(app, size);
        widget.shot(size == Size::small ? QStringLiteral("small-no-emoji") : QStringLiteral("medium-no-emoji"));
        const QStringList texts = widget.visibleTexts();
        ASSERT_GE(texts.size(), 2);
        EXPECT_EQ(texts.mid(0, 2), (QStringList{QStringLiteral("Quil"), QStringLiteral("Working late")}));
        EXPECT_FALSE(widget.emojiShown());
    }
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
        widget.shot(size == Size::small ? QStringLiteral("small-long-texts") : QStringLiteral("medium-long-texts"));
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
            if (n == 0)
                widget.shot(size == Size::small ? QStringLiteral("small-no-picture") : QStringLiteral("medium-no-picture"));
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

TEST(WidgetViews, WithoutSnapshotBothSizesShowTheEmptyStateAndLinkToTheStatusPicker)
{
    AppSide app;
    for (const Size size : {Size::small, Size::medium}) {
        RenderedWidget widget(app, size);
        widget.shot(size == Size::small ? QStringLiteral("small-empty") : QStringLiteral("medium-empty"));
        EXPECT_EQ(widget.visibleTexts().last(), QStringLiteral("No main person yet"));
        EXPECT_EQ(widget.tapURL(), QStringLiteral("vorlia://status"));
    }
    app.writeRaw("{\"personID\": \"p-quil\", \"displayName\": \"Qu");
    RenderedWidget corrupt(app, Size::medium);
    EXPECT_EQ(corrupt.visibleTexts().last(), QStringLiteral("No main person yet"));
    EXPECT_EQ(corrupt.tapURL(), QStringLiteral("vorlia://status"));
}

TEST(WidgetViews, BothLanguagesAndBothPalettes)
{
    AppSide app;
    const Look looks[] = {
        {AppLanguage::english, Appearance::ColorScheme::light},
        {AppLanguage::english, Appearance::ColorScheme::dark},
        {AppLanguage::german, Appearance::ColorScheme::light},
        {AppLanguage::german, Appearance::ColorScheme::dark},
    };
    for (const bool withSnapshot : {true, false}) {
        if (withSnapshot)
            app.write(expired());
        else
            app.clear();
        for (const Look &look : looks) {
            for (const Size size : {Size::small, Size::medium}) {
                RenderedWidget widget(app, size, look);
                const bool german = look.language == AppLanguage::german;
                const bool dark = look.scheme == Appearance::ColorScheme::dark;
                const QString name = QStringLiteral("%1-%2-%3-%4")
                                         .arg(size == Size::small ? "small" : "medium", german ? "de" : "en",
                                              dark ? "dark" : "light", withSnapshot ? "expired" : "empty");
                const QImage image = widget.shot(name);
                const QString expected = withSnapshot ? (german ? QStringLiteral("Kein Status") : QStringLiteral("No status"))
                                                      : (german ? QStringLiteral("Noch keine Hauptperson")
                                                                : QStringLiteral("No main person yet"));
                EXPECT_EQ(widget.visibleTexts().last(), expected) << name.toStdString();
                // The background follows the palette.
                const QColor background = image.pixelColor(image.width() / 2, 6);
                EXPECT_EQ(background.lightness() < 128, dark) << name.toStdString();
                QQuickItem *text = widget.visibleTextItem(expected);
                ASSERT_TRUE(text);
                EXPECT_EQ(text->property("color").value<QColor>().lightness() > 128, dark) << name.toStdString();
            }
        }
    }
}

TEST(WidgetViews, TheElapsedTimeTicksOnlyWhileTheWidgetIsShown)
{
    AppSide app;
    app.write(sampleSnapshot());
    RenderedWidget medium(app, Size::medium);
    const auto ticking = [&medium] {
        const auto objects = medium.view()->findChildren<QObject *>();
        return std::any_of(objects.begin(), objects.end(), [](const QObject *object) {
            return QString::fromLatin1(object->metaObject()->className()) == QLatin1String("QQmlTimer")
                && object->property("running").toBool() && object->property("interval").toInt() == 60'000;
        });
    };
    EXPECT_TRUE(ticking());
    medium.view()->window()->hide();
    EXPECT_FALSE(ticking()) << "a hidden widget must cost nothing";
    medium.view()->window()->show();
    EXPECT_TRUE(ticking());

    // Nothing to count for an expired status.
    WidgetSnapshot expiredStatus = sampleSnapshot();
    expiredStatus.isExpired = true;
    app.write(expiredStatus);
    RenderedWidget expiredWidget(app, Size::medium);
    const auto objects = expiredWidget.view()->findChildren<QObject *>();
    EXPECT_TRUE(std::none_of(objects.begin(), objects.end(), [](const QObject *object) {
        return QString::fromLatin1(object->metaObject()->className()) == QLatin1String("QQmlTimer")
            && object->property("running").toBool();
    }));
}
