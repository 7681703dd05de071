#pragma once

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <QPoint>
#include <QSize>

#include <wayland-client.h>

#include <cstring>
#include <memory>

namespace vorlie::testing {

// A pointer of the compositor's seat that the test moves and clicks, as a
// person's mouse would: the headless output has no input devices.
class VirtualPointer {
public:
    // Null when the compositor offers no virtual pointers.
    static std::unique_ptr<VirtualPointer> create(QSize layout)
    {
        wl_display *display = wl_display_connect(nullptr);
        if (!display)
            return nullptr;
        static const wl_registry_listener listener{
            [](void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t) {
                if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
                    *static_cast<zwlr_virtual_pointer_manager_v1 **>(data) = static_cast<zwlr_virtual_pointer_manager_v1 *>(
                        wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
                }
            },
            [](void *, wl_registry *, uint32_t) {}};
        zwlr_virtual_pointer_manager_v1 *manager = nullptr;
        wl_registry *registry = wl_display_get_registry(display);
        wl_registry_add_listener(registry, &listener, &manager);
        wl_display_roundtrip(display);
        wl_registry_destroy(registry);
        if (!manager) {
            wl_display_disconnect(display);
            return nullptr;
        }
        zwlr_virtual_pointer_v1 *pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
        zwlr_virtual_pointer_manager_v1_destroy(manager);
        wl_display_roundtrip(display);
        return std::unique_ptr<VirtualPointer>(new VirtualPointer(display, pointer, layout));
    }
    ~VirtualPointer()
    {
        zwlr_virtual_pointer_v1_destroy(m_pointer);
        wl_display_roundtrip(m_display);
        wl_display_disconnect(m_display);
    }

    void moveTo(QPoint point)
    {
        zwlr_virtual_pointer_v1_motion_absolute(m_pointer, ++m_time, static_cast<uint32_t>(point.x()),
                                                static_cast<uint32_t>(point.y()), static_cast<uint32_t>(m_layout.width()),
                                                static_cast<uint32_t>(m_layout.height()));
        sent();
    }
    // Linux input button codes (BTN_LEFT, BTN_RIGHT).
    void press(unsigned button) { setButton(button, WL_POINTER_BUTTON_STATE_PRESSED); }
    void release(unsigned button) { setButton(button, WL_POINTER_BUTTON_STATE_RELEASED); }

private:
    VirtualPointer(wl_display *display, zwlr_virtual_pointer_v1 *pointer, QSize layout)
        : m_display(display), m_pointer(pointer), m_layout(layout)
    {
    }
    void setButton(unsigned button, wl_pointer_button_state state)
    {
        zwlr_virtual_pointer_v1_button(m_pointer, ++m_time, button, state);
        sent();
    }
    void sent()
    {
        zwlr_virtual_pointer_v1_frame(m_pointer);
        wl_display_roundtrip(m_display);
    }

    wl_display *m_display;
    zwlr_virtual_pointer_v1 *m_pointer;
    QSize m_layout;
    unsigned m_time = 0;
};

} // namespace vorlie::testing
