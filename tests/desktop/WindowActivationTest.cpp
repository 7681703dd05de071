// Raising the window for another launch on X11: the launch's token goes onto
// the window, and the desktop hears that the launch is complete.
#include "single_instance/WindowActivation.h"
#include "tray/ProgramWindows.h"

#include <QDeadlineTimer>
#include <QWindow>
#include <gtest/gtest.h>

using namespace vorlie;
using namespace vorlie::testing::xwindows;

namespace {

// Listens on the root window the way a desktop's launch feedback does.
class StartupListener {
public:
    StartupListener()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        const uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, root(), XCB_CW_EVENT_MASK, &mask);
        m_begin = atom("_NET_STARTUP_INFO_BEGIN");
        m_more = atom("_NET_STARTUP_INFO");
        xcb_flush(m_connection);
    }
    ~StartupListener() { xcb_disconnect(m_connection); }
    StartupListener(const StartupListener &) = delete;
    StartupListener &operator=(const StartupListener &) = delete;

    // The next complete startup message, or empty when none came in time.
    QByteArray nextMessage()
    {
        QByteArray message;
        const QDeadlineTimer deadline(3000);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            while (const XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(m_connection), &std::free}) {
                if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
                    continue;
                const auto *client = reinterpret_cast<const xcb_client_message_event_t *>(event.get());
                if (client->type == m_begin)
                    message.clear();
                else if (client->type != m_more)
                    continue;
                const QByteArray piece(reinterpret_cast<const char *>(client->data.data8), 20);
                const qsizetype end = piece.indexOf('\0');
                message += piece.left(end < 0 ? 20 : end);
                if (end >= 0)
                    return message;
            }
        }
        return {};
    }

    QByteArray startupId(QWindow &window)
    {
        const xcb_get_property_cookie_t cookie = xcb_get_property(m_connection, 0, static_cast<xcb_window_t>(window.winId()),
                                                                  atom("_NET_STARTUP_ID"), XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
        const XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(m_connection, cookie, nullptr), &std::free);
        if (!reply)
            return {};
        return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())), xcb_get_property_value_length(reply.get()));
    }

private:
    xcb_connection_t *m_connection;
    xcb_atom_t m_begin = XCB_ATOM_NONE;
    xcb_atom_t m_more = XCB_ATOM_NONE;
};

} // namespace

// A usable token goes onto the window and ends the launch feedback; an
// unusable one still raises the window but is not passed on.
TEST(WindowActivation, TheLaunchTokenGoesOntoTheWindowAndEndsTheLaunchFeedback)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    // The first is longer than one 20-byte piece, so the message has to be put together again.
    const struct {
        QString token;
        QByteArray passedOn;
    } launches[] = {
        {QStringLiteral("launcher-4242-host-vorlie-0_TIME123456"), "launcher-4242-host-vorlie-0_TIME123456"},
        {QStringLiteral("quote\" and space"), {}},
    };
    for (const auto &launch : launches) {
        SCOPED_TRACE(launch.token.toStdString());
        StartupListener desktop;
        QWindow window;
        window.resize(120, 80);
        activateWindow(&window, launch.token);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(desktop.startupId(window), launch.passedOn);
        EXPECT_EQ(desktop.nextMessage(), launch.passedOn.isEmpty() ? QByteArray() : "remove: ID=\"" + launch.passedOn + '"');
    }
    activateWindow(nullptr, QStringLiteral("host-1_TIME2")); // nothing to raise, nothing happens
}
