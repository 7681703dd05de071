#pragma once

// One widget as the host shows it, offscreen: made by the real bundle and
// provider from what the application side stored, read back as a person
// would see it.
#include "DecodedPicture.h"
#include "VorlieWidgetsBundle.h"
#include "WidgetEngine.h"
#include "WidgetFixtures.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace vorlie::testing {

enum class Size { small, medium };

// One widget as the host shows it.
class RenderedWidget {
public:
    RenderedWidget(AppSide &app, Size size, MainPersonTimelineProvider::Clock clock = [] { return QDateTime::currentDateTimeUtc(); },
                   AppLanguage language = AppLanguage::english, Appearance::ColorScheme scheme = Appearance::ColorScheme::light)
        : m_family(size == Size::small ? widgetkit::WidgetFamily::small : widgetkit::WidgetFamily::medium)
    {
        writeStoredLanguage(app.defaults, language);
        m_bundle = std::make_unique<VorlieWidgetsBundle>(app.defaults, std::move(clock), QTimeZone::systemTimeZone());
        prepareWidgetEngine(m_engine).setColorScheme(scheme);
        const widgetkit::WidgetDeclaration widget = m_bundle->widgets().first();
        m_entry = nextEntry();

        QQmlComponent component(&m_engine, widget.view);
        m_view.reset(qobject_cast<QQuickItem *>(component.createWithInitialProperties(
            {{QStringLiteral("entry"), QVariant::fromValue(m_entry.get())},
             {QStringLiteral("family"), widgetkit::familyName(m_family)}})));
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

    QQuickItem *view() const { return m_view.get(); }
    // The host's reload: the view that is there shows the timeline's new entry.
    void reload()
    {
        std::shared_ptr<QObject> next = nextEntry();
        m_view->setProperty("entry", QVariant::fromValue(next.get()));
        m_entry = std::move(next);
    }
    QString tapURL() const { return m_view->property("widgetURL").toUrl().toString(); }


    // Texts actually on screen, without symbols.
    QStringList visibleTexts() const
    {
        QStringList texts;
        for (QQuickItem *item : visibleItems()) {
            if (isText(item) && !item->property("text").toString().isEmpty())
                texts << item->property("text").toString();
        }
        return texts;
    }
    QQuickItem *visibleTextItem(const QString &text) const
    {
        return firstVisible([&text](QQuickItem *item) { return isText(item) && item->property("text").toString() == text; });
    }
    bool emojiShown() const
    {
        return firstVisible([](QQuickItem *item) {
            return isText(item) && !item->property("text").toString().isEmpty()
                && item->property("font").value<QFont>().family() == QLatin1String("Noto Color Emoji");
        });
    }
    // The mood badge, when one is drawn.
    QString badgeShown() const
    {
        QString symbol;
        for (QQuickItem *item : visibleItems()) {
            if (item->metaObject()->indexOfProperty("symbolName") >= 0)
                symbol = item->property("symbolName").toString();
        }
        return symbol;
    }
    bool pictureDrawn() const
    {
        return firstVisible([](QQuickItem *item) {
            auto *picture = qobject_cast<DecodedPicture *>(item);
            return picture && picture->decoded();
        });
    }
    bool placeholderShown() const
    {
        return firstVisible([](QQuickItem *item) {
            return QString::fromLatin1(item->metaObject()->className()).startsWith(QLatin1String("AvatarPlaceholder"));
        });
    }

private:
    std::shared_ptr<QObject> nextEntry() const
    {
        return m_bundle->widgets().first().provider->timeline({}, {m_family, {}}).entries.first().content;
    }

    static bool isText(const QQuickItem *item)
    {
        return item->metaObject()->indexOfProperty("truncated") >= 0
            && item->property("font").value<QFont>().family() != QLatin1String("Material Icons");
    }

    // Every item on screen, parents before their children.
    QList<QQuickItem *> visibleItems() const
    {
        QList<QQuickItem *> items;
        const std::function<void(QQuickItem *)> visit = [&](QQuickItem *item) {
            if (item && item->isVisible()) {
                items << item;
                for (QQuickItem *child : item->childItems())
                    visit(child);
            }
        };
        visit(m_view.get());
        return items;
    }
    QQuickItem *firstVisible(const std::function<bool(QQuickItem *)> &matches) const
    {
        const QList<QQuickItem *> items = visibleItems();
        const auto found = std::find_if(items.begin(), items.end(), matches);
        return found == items.end() ? nullptr : *found;
    }

    widgetkit::WidgetFamily m_family;
    QQmlEngine m_engine;
    std::unique_ptr<VorlieWidgetsBundle> m_bundle;
    std::shared_ptr<QObject> m_entry;
    QQuickWindow m_window;
    std::unique_ptr<QQuickItem> m_view;
};

} // namespace vorlie::testing
