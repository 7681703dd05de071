#include "MainPersonTimelineProvider.h"

#include "MainPersonWidgetConfigurationIntent.h"
#include "prefs/PreferenceKeys.h"

namespace vorlie {

MainPersonTimelineProvider::MainPersonTimelineProvider(SharedDefaults defaults, const QLocale &formattingLocale, Clock now,
                                                       const QTimeZone &zone)
    : m_defaults(std::move(defaults))
    , m_formattingLocale(formattingLocale)
    , m_now(std::move(now))
    , m_zone(zone)
{
}

widgetkit::TimelineEntry MainPersonTimelineProvider::entry(bool showUpdatedTime) const
{
    const QDateTime now = m_now();
    const std::optional<WidgetSnapshot> stored = m_defaults.loadShared<WidgetSnapshot>(prefkeys::widgetSnapshot());
    const QImage picture = stored ? m_picture.decode(stored->avatarImageData.value_or(QByteArray())) : QImage();
    auto content = std::make_shared<MainPersonEntry>(now, stored, picture, showUpdatedTime, m_formattingLocale, m_now);
    return {now, std::move(content)};
}

widgetkit::TimelineEntry MainPersonTimelineProvider::placeholder(const widgetkit::TimelineContext &) const
{
    return entry(MainPersonWidgetConfigurationIntent::showUpdatedTimeDefault);
}

widgetkit::TimelineEntry MainPersonTimelineProvider::snapshot(const widgetkit::WidgetConfiguration &configuration,
                                                              const widgetkit::TimelineContext &) const
{
    return entry(MainPersonWidgetConfigurationIntent::from(configuration).showUpdatedTime);
}

widgetkit::Timeline MainPersonTimelineProvider::timeline(const widgetkit::WidgetConfiguration &configuration,
                                                         const widgetkit::TimelineContext &context) const
{
    widgetkit::TimelineEntry only = snapshot(configuration, context);
    const QDateTime reload = nextReload(only.date, m_zone);
    return {{std::move(only)}, reload};
}

QDateTime MainPersonTimelineProvider::nextReload(const QDateTime &now, const QTimeZone &zone)
{
    // Elapsed time, not wall-clock arithmetic: across a daylight-saving
    // change the reload still comes 15 real minutes later.
    const QDateTime local = zone.isValid() ? now.toTimeZone(zone) : QDateTime();
    QDateTime calendar = local.isValid() ? local.addDuration(reloadInterval) : QDateTime();
    if (calendar.isValid())
        return calendar;
    return now.toUTC().addSecs(std::chrono::seconds(reloadInterval).count());
}

} // namespace vorlie
