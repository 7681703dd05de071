#include "AppServices.h"

#include "EngineObjects.h"

#include <QQmlEngine>

namespace vorlie {

AppServices::AppServices(Parts parts, QObject *parent)
    : QObject(parent)
    , m_parts(std::move(parts))
{
}

AppServices *AppServices::of(const QObject *qmlObject)
{
    const QQmlEngine *engine = qmlEngine(qmlObject);
    return engine ? qobject_cast<AppServices *>(providedToQml(*engine, staticMetaObject)) : nullptr;
}

} // namespace vorlie
