#pragma once

// The windows of the program under test as a person sees them on the X
// display (no window manager, so every top-level window is a child of the
// root), and keys typed through the X server.
#include <QGuiApplication>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QTest>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace vorlie::testing::xwindows {

// How long a person would wait for a window on a loaded machine.
constexpr int waitMs = 15000;

template<typename Reply>
using XcbReply = std::unique_ptr<Reply, decltype(&std::free)>;

inline xcb_connection_t *connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

inline xcb_window_t root()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data->root;
}

inline XcbReply<xcb_query_tree_reply_t> treeOf(xcb_window_t window)
{
    return {xcb_query_tree_reply(connection(), xcb_query_tree(connection(), window), nullptr), &std::free};
}

inline QSize sizeOf(xcb_window_t window)
{
    const XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection(), xcb_get_geometry(connection(), window), nullptr), &std::free);
    return geometry ? QSize(geometry->width, geometry->height) : QSize();
}

// The top-level windows shown on the X display, with their sizes.
inline QList<std::pair<xcb_window_t, QSize>> shownWindows()
{
    QList<std::pair<xcb_window_t, QSize>> shown;
    const auto tree = treeOf(root());
    for (int i = 0; tree && i < xcb_query_tree_children_length(tree.get()); ++i) {
        const xcb_window_t window = xcb_query_tree_children(tree.get())[i];
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection(), xcb_get_window_attributes(connection(), window), nullptr), &std::free);
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
            shown.append({window, sizeOf(window)});
    }
    return shown;
}

// Atoms are the server's, whichever connection asks.
inline xcb_atom_t atom(const char *name)
{
    const XcbReply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection(), xcb_intern_atom(connection(), 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// Asks the shown window of `width` to close, as a window manager's close
// button does (WM_DELETE_WINDOW).
inline bool closeWindowOfWidth(int width)
{
    for (const auto &[window, size] : shownWindows()) {
        if (size.width() != width)
            continue;
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = atom("WM_PROTOCOLS");
        event.data.data32[0] = atom("WM_DELETE_WINDOW");
        event.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection(), 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&event));
        xcb_flush(connection());
        return true;
    }
    return false;
}

// Width of the top-level window holding the keyboard focus, 0 for none.
inline int focusedWindowWidth()
{
    const XcbReply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(connection(), xcb_get_input_focus(connection()), nullptr), &std::free);
    xcb_window_t window = focus ? focus->focus : xcb_window_t(XCB_WINDOW_NONE);
    while (window != XCB_WINDOW_NONE && window != root() && window != xcb_window_t(XCB_INPUT_FOCUS_POINTER_ROOT)) {
        const auto tree = treeOf(window);
        if (!tree)
            return 0;
        if (tree->parent == root())
            return sizeOf(window).width();
        window = tree->parent;
    }
    return 0;
}

inline bool windowFocused(int width)
{
    return QTest::qWaitFor([width] { return focusedWindowWidth() == width; }, waitMs);
}

inline bool windowShown(int width, int minimumHeight = 1)
{
    return QTest::qWaitFor([width, minimumHeight] {
        const auto shown = shownWindows();
        return std::any_of(shown.cbegin(), shown.cend(), [width, minimumHeight](const auto &window) {
            return window.second.width() == width && window.second.height() >= minimumHeight;
        });
    }, waitMs);
}

inline int windowsOfWidth(int width)
{
    const auto shown = shownWindows();
    return static_cast<int>(std::count_if(shown.cbegin(), shown.cend(), [width](const auto &window) { return window.second.width() == width; }));
}

// Keys typed on the X server reach the window that has the focus; text is typed as it stands.
inline bool typeKeys(const QStringList &keys)
{
    return QProcess::execute(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                                                    QStringLiteral("150")} + keys) == 0;
}
inline bool typeText(const QString &text)
{
    return QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("type"), text}) == 0;
}

} // namespace vorlie::testing::xwindows
