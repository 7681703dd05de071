#pragma once

#include "MainPersonTimelineProvider.h"
#include "i18n/TextLookup.h"
#include "interface/WidgetExtension.h"
#include "prefs/SharedDefaults.h"

namespace vorlie {

// One start of the widget extension: reads the interface language the
// application stored and applies it to every text lookup of the process,
// then declares the main-person widget in that language. A language chosen
// later reaches the widget through the next bundle.
class VorlieWidgetsBundle : public widgetkit::WidgetBundle {
public:
    static inline const QString mainPersonKind = QStringLiteral("MainPersonWidget");

    VorlieWidgetsBundle(SharedDefaults defaults, MainPersonTimelineProvider::Clock now, const QTimeZone &zone);
    // The user's suite, the wall clock and the system time zone.
    VorlieWidgetsBundle();

    QList<widgetkit::WidgetDeclaration> widgets() const override;

    AppLanguage language() const { return m_lookup.language(); }

private:
    TextLookup m_lookup;
    std::shared_ptr<const MainPersonTimelineProvider> m_provider;
};

// The widget's own suite paths: the shared suite, and a standard store of
// its own for when the suite cannot be opened (it then shares nothing).
PreferencePaths widgetPreferencePaths(const QString &configDir);

} // namespace vorlie
