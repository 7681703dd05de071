#include "XEmbedTrayWatch.h"

#include "TrayHosts.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace vorlie {

namespace {

template<typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

xcb_atom_t atomNamed(xcb_connection_t *connection, const char *name)
{
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr),
        &std::free);
    return atom ? atom->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

XEmbedTrayWatch::XEmbedTrayWatch(QObject *parent)
    : QObject(parent)
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t *connection = x11->connection();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // The announcement reaches only clients that listen to the root's
    // structure; Qt's own mask there is kept.
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root), nullptr), &std::free);
    if (!attributes)
        return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    m_managerAtom = atomNamed(connection, "MANAGER");
    m_selectionAtom = atomNamed(connection, trayhosts::xembedSelection);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

XEmbedTrayWatch::~XEmbedTrayWatch()
{
    if (m_managerAtom != XCB_ATOM_NONE)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool XEmbedTrayWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *client = static_cast<const xcb_client_message_event_t *>(message);
    if (client->type == m_managerAtom && client->format == 32 && client->data.data32[1] == m_selectionAtom)
        emit trayAppeared();
    return false;
}

} // namespace vorlie
