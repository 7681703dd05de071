#include "WidgetEngine.h"

#include "EngineObjects.h"
#include "Motion.h"
#include "ThemeColor.h"

#include <QQmlEngine>

namespace vorlie {

Appearance &prepareWidgetEngine(QQmlEngine &engine)
{
    // The modules the views import are compiled in, below qrc:/<URI path>.
    engine.addImportPath(QStringLiteral("qrc:/"));
    auto *appearance = new Appearance(&engine);
    provideToQml(engine, new ThemeColor(*appearance, appearance));
    auto *still = new Appearance(&engine);
    still->setReduceMotion(true);
    provideToQml(engine, new Motion(*still, still));
    return *appearance;
}

} // namespace vorlie
