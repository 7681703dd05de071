#include "Motion.h"

#include "Appearance.h"
#include "EngineObjects.h"

namespace vorlie {

Motion::Motion(Appearance &appearance, QObject *parent)
    : QObject(parent)
    , m_appearance(appearance)
{
    connect(&appearance, &Appearance::reduceMotionChanged, this, &Motion::reduceMotionChanged);
}

Motion *Motion::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    if (Motion *provided = providedSingleton<Motion>(qmlEngine))
        return provided;
    auto *appearance = new Appearance(qmlEngine);
    return new Motion(*appearance, appearance);
}

bool Motion::reduceMotion() const
{
    return m_appearance.reduceMotion();
}

} // namespace vorlie
