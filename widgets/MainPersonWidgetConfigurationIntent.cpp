#include "MainPersonWidgetConfigurationIntent.h"

namespace vorlie {
namespace {
QString showUpdatedTimeName()
{
    return QStringLiteral("showUpdatedTime");
}
} // namespace

MainPersonWidgetConfigurationIntent MainPersonWidgetConfigurationIntent::from(const widgetkit::WidgetConfiguration &configuration)
{
    MainPersonWidgetConfigurationIntent intent;
    const QVariant value = configuration.value(showUpdatedTimeName());
    if (value.typeId() == QMetaType::Bool)
        intent.showUpdatedTime = value.toBool();
    return intent;
}

QString MainPersonWidgetConfigurationIntent::title()
{
    //% "Main person"
    return qtTrId("widget.configuration.title");
}

QList<widgetkit::ConfigurationParameter> MainPersonWidgetConfigurationIntent::parameters()
{
    //% "Show when it was updated"
    return {{showUpdatedTimeName(), qtTrId("widget.configuration.show_updated_time"), showUpdatedTimeDefault}};
}

} // namespace vorlie
