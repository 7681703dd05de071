#include "EngineObjects.h"

#include <QVariant>

namespace vorlie {
namespace {

QByteArray keyFor(const QMetaObject &type)
{
    return QByteArrayLiteral("vorlie.provided.") + type.className();
}

} // namespace

void provideToQml(QQmlEngine &engine, QObject *object)
{
    engine.setProperty(keyFor(*object->metaObject()).constData(), QVariant::fromValue(object));
}

QObject *providedToQml(const QQmlEngine &engine, const QMetaObject &type)
{
    return engine.property(keyFor(type).constData()).value<QObject *>();
}

} // namespace vorlie
