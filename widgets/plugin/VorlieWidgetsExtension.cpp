#include "AppearancePortal.h"
#include "VorlieWidgetsBundle.h"
#include "WidgetEngine.h"
#include "interface/WidgetExtension.h"

#include <QObject>
#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>

// The views' QML modules live inside this plug-in, not in the host.
Q_IMPORT_QML_PLUGIN(Vorlie_WidgetsPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_AvatarPlugin)
Q_IMPORT_QML_PLUGIN(Vorlie_ThemePlugin)

namespace vorlie {

// The object a widget host finds in vorlie_Widgets.so.
class VorlieWidgetsExtension : public QObject, public widgetkit::WidgetExtension {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID VorlieWidgetExtension_iid)
    Q_INTERFACES(vorlie::widgetkit::WidgetExtension)

public:
    void prepareEngine(QQmlEngine &engine) override
    {
        auto *portal = new AppearancePortal(&engine);
        prepareWidgetEngine(engine).follow(*portal);
        portal->start();
    }
    std::unique_ptr<widgetkit::WidgetBundle> createBundle() override { return std::make_unique<VorlieWidgetsBundle>(); }
};

} // namespace vorlie

#include "VorlieWidgetsExtension.moc"
