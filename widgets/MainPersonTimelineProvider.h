#pragma once

#include "DecodedPicture.h"
#include "MainPersonEntry.h"
#include "interface/WidgetExtension.h"
#include "prefs/SharedDefaults.h"

#include <QLocale>
#include <QTimeZone>

#include <chrono>

namespace vorlie {

// Entries of the main-person widget, built from the snapshot the application
// stored. Every request reads the shared suite again, so a write by the
// application is seen at the next request; only the picture's decoding is
// kept while its bytes stay the same.
class MainPersonTimelineProvider : public widgetkit::TimelineProvider {
public:
    using Clock = WidgetClock;
    static constexpr std::chrono::minutes reloadInterval{15};

    // `zone` is the calendar's time zone for the next reload time;
    // `formattingLocale` words the elapsed time.
    MainPersonTimelineProvider(SharedDefaults defaults, const QLocale &formattingLocale, Clock now, const QTimeZone &zone);

    widgetkit::TimelineEntry placeholder(const widgetkit::TimelineContext &context) const override;
    widgetkit::TimelineEntry snapshot(const widgetkit::WidgetConfiguration &configuration,
                                      const widgetkit::TimelineContext &context) const override;
    // One entry, to be asked again 15 minutes from now.
    widgetkit::Timeline timeline(const widgetkit::WidgetConfiguration &configuration,
                                 const widgetkit::TimelineContext &context) const override;

    // 15 minutes after `now` in `zone`'s calendar, or `now` plus 900 s where
    // that calendar has no answer (an unknown zone, a date out of range).
    static QDateTime nextReload(const QDateTime &now, const QTimeZone &zone);

private:
    widgetkit::TimelineEntry entry(bool showUpdatedTime) const;

    SharedDefaults m_defaults;
    QLocale m_formattingLocale;
    Clock m_now;
    QTimeZone m_zone;
    mutable LastDecodedPicture m_picture;
};

} // namespace vorlie
