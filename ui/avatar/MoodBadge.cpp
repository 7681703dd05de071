#include "MoodBadge.h"

#include "domain/StatusVisualState.h"

namespace vorlie {

MoodBadge *MoodBadge::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return new MoodBadge(qmlEngine);
}

QString MoodBadge::symbol(const QString &visualState)
{
    const std::optional<StatusVisualState> state = fromRawValue<StatusVisualState>(visualState);
    return state ? badgeSymbol(*state).value_or(QString()) : QString();
}

QString MoodBadge::tint(const QString &visualState)
{
    const std::optional<StatusVisualState> state = fromRawValue<StatusVisualState>(visualState);
    switch (state ? badgeTint(*state) : BadgeTint::accent) {
    case BadgeTint::pink:
        return QStringLiteral("pink");
    case BadgeTint::orange:
        return QStringLiteral("orange");
    case BadgeTint::yellow:
        return QStringLiteral("yellow");
    case BadgeTint::blue:
        return QStringLiteral("blue");
    case BadgeTint::accent:
        break;
    }
    return QStringLiteral("accent");
}

} // namespace vorlie
