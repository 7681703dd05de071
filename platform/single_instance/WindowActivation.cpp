#include "WindowActivation.h"

#include "InstanceRequest.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vorlie {
namespace {

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name);
    const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(xcb_intern_atom_reply(connection, cookie, nullptr),
                                                                              &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Startup-notification messages travel to the root window in 20-byte pieces,
// the first under _NET_STARTUP_INFO_BEGIN, the text ending in a NUL.
void sendStartupMessage(xcb_connection_t *connection, xcb_window_t window, const QByteArray &text)
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t begin = internAtom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = internAtom(connection, "_NET_STARTUP_INFO");
    const QByteArray message = text + '\0';
    for (qsizetype offset = 0; offset < message.size(); offset += 20) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = window;
        event.type = offset == 0 ? begin : more;
        std::memcpy(event.data.data8, message.constData() + offset, static_cast<size_t>(std::min<qsizetype>(20, message.size() - offset)));
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE, reinterpret_cast<const char *>(&event));
    }
}

void applyX11StartupId(xcb_connection_t *connection, QWindow *window, const QByteArray &id)
{
    const auto xWindow = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xWindow, internAtom(connection, "_NET_STARTUP_ID"),
                        internAtom(connection, "UTF8_STRING"), 8, static_cast<uint32_t>(id.size()), id.constData());
    // Tokens are checked to hold no quote or backslash, so quoting needs no escapes.
    sendStartupMessage(connection, xWindow, "remove: ID=\"" + id + '"');
    xcb_flush(connection);
}

} // namespace

void activateWindow(QWindow *window, const QString &activationToken)
{
    if (!window)
        return;
    if (isUsableActivationToken(activationToken)) {
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
            // Qt's Wayland plug-in hands this to the compositor with the next activation request.
            qputenv("XDG_ACTIVATION_TOKEN", activationToken.toLatin1());
        } else if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            window->create();
            applyX11StartupId(x11->connection(), window, activationToken.toLatin1());
        }
    }
    window->show();
    window->raise();
    window->requestActivate();
}

} // namespace vorlie
