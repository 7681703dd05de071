#include "WidgetCenter.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace vorlie {

namespace {
void emitSignal(const char *member, const QVariantList &arguments)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    QDBusMessage message = QDBusMessage::createSignal(QString::fromLatin1(WidgetCenter::objectPath),
                                                      QString::fromLatin1(WidgetCenter::interfaceName), QString::fromLatin1(member));
    message.setArguments(arguments);
    bus.send(message);
}
} // namespace

void WidgetCenter::reloadAllTimelines()
{
    emitSignal(reloadAllSignal, {});
}

void WidgetCenter::reloadTimelines(const QString &kind)
{
    emitSignal(reloadKindSignal, {kind});
}

} // namespace vorlie
