#include "VorlieWidgetsBundle.h"

#include "MainPersonWidgetConfigurationIntent.h"

#include <QStandardPaths>

namespace vorlie {
PreferencePaths widgetPreferencePaths(const QString &configDir)
{
    PreferencePaths paths = PreferencePaths::under(configDir);
    paths.standard = configDir + QStringLiteral("/vorlie/vorlie_Widgets.ini");
    return paths;
}

VorlieWidgetsBundle::VorlieWidgetsBundle(SharedDefaults defaults, MainPersonTimelineProvider::Clock now, const QTimeZone &zone)
{
    // The language first: the provider words its times in it.
    m_lookup.apply(readStoredLanguage(defaults));
    m_provider = std::make_shared<MainPersonTimelineProvider>(std::move(defaults), formattingLocale(m_lookup.language()),
                                                              std::move(now), zone);
}

VorlieWidgetsBundle::VorlieWidgetsBundle()
    : VorlieWidgetsBundle(SharedDefaults(widgetPreferencePaths(
                              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))),
                          [] { return QDateTime::currentDateTimeUtc(); }, QTimeZone::systemTimeZone())
{
}

QList<widgetkit::WidgetDeclaration> VorlieWidgetsBundle::widgets() const
{
    widgetkit::WidgetDeclaration mainPerson;
    mainPerson.kind = mainPersonKind;
    //% "Main person"
    mainPerson.displayName = qtTrId("widget.display_name");
    //% "Your main person's latest status at a glance."
    mainPerson.description = qtTrId("widget.description");
    mainPerson.supportedFamilies = {widgetkit::WidgetFamily::small, widgetkit::WidgetFamily::medium};
    mainPerson.configurationTitle = MainPersonWidgetConfigurationIntent::title();
    mainPerson.parameters = MainPersonWidgetConfigurationIntent::parameters();
    mainPerson.provider = m_provider;
    mainPerson.view = QUrl(QStringLiteral("qrc:/Vorlie/Widgets/MainPersonWidgetView.qml"));
    return {mainPerson};
}

} // namespace vorlie
