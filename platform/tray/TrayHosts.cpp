#include "TrayHosts.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace vorlie::trayhosts {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
constexpr int watcherTimeoutMs = 1000;

template<typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

} // namespace

bool statusNotifierHostPresent()
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcherService))
        return false;
    // A plain call with a short time-out: a watcher that hangs must not hold
    // the program's start.
    QDBusMessage get = QDBusMessage::createMethodCall(watcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({watcherService, QStringLiteral("IsStatusNotifierHostRegistered")});
    const QDBusMessage reply = bus.call(get, QDBus::Block, watcherTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && reply.arguments().constFirst().value<QDBusVariant>().variant().toBool();
}

bool xembedTrayPresent()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return false;
    xcb_connection_t *connection = x11->connection();
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, sizeof(xembedSelection) - 1, xembedSelection), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, atom->atom), nullptr), &std::free);
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace vorlie::trayhosts
