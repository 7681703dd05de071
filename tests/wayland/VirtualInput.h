#pragma once

#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <QPoint>
#include <QSize>

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>

namespace vorlie::testing {

// A mouse and a keyboard of the compositor's seat that the test moves,
// clicks and types on, as a person would: the headless output has no input
// devices. The keyboard has the default (US) layout.
class VirtualInput {
public:
    // Null when the compositor offers no virtual pointers or keyboards.
    static std::unique_ptr<VirtualInput> create(QSize layout)
    {
        wl_display *display = wl_display_connect(nullptr);
        if (!display)
            return nullptr;
        std::unique_ptr<VirtualInput> input(new VirtualInput(display, layout));
        wl_registry *registry = wl_display_get_registry(display);
        wl_registry_add_listener(registry, &registryListener, input.get());
        wl_display_roundtrip(display);
        wl_registry_destroy(registry);
        if (!input->m_pointerManager || !input->m_keyboardManager || !input->m_seat)
            return nullptr;
        input->m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(input->m_pointerManager, input->m_seat);
        input->m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(input->m_keyboardManager, input->m_seat);
        if (!input->sendKeymap())
            return nullptr;
        wl_display_roundtrip(display);
        return input;
    }
    ~VirtualInput()
    {
        if (m_keyboard)
            zwp_virtual_keyboard_v1_destroy(m_keyboard);
        if (m_pointer)
            zwlr_virtual_pointer_v1_destroy(m_pointer);
        if (m_keyboardManager)
            zwp_virtual_keyboard_manager_v1_destroy(m_keyboardManager);
        if (m_pointerManager)
            zwlr_virtual_pointer_manager_v1_destroy(m_pointerManager);
        if (m_seat)
            wl_seat_destroy(m_seat);
        wl_display_roundtrip(m_display);
        wl_display_disconnect(m_display);
    }

    void moveTo(QPoint point)
    {
        zwlr_virtual_pointer_v1_motion_absolute(m_pointer, ++m_time, static_cast<uint32_t>(point.x()),
                                                static_cast<uint32_t>(point.y()), static_cast<uint32_t>(m_layout.width()),
                                                static_cast<uint32_t>(m_layout.height()));
        pointerSent();
    }
    // Linux input button codes (BTN_LEFT, BTN_RIGHT).
    void press(unsigned button) { setButton(button, WL_POINTER_BUTTON_STATE_PRESSED); }
    void release(unsigned button) { setButton(button, WL_POINTER_BUTTON_STATE_RELEASED); }
    // A key pressed and released (Linux input key codes: KEY_ESC, KEY_TAB).
    void tap(unsigned key)
    {
        zwp_virtual_keyboard_v1_key(m_keyboard, ++m_time, key, WL_KEYBOARD_KEY_STATE_PRESSED);
        zwp_virtual_keyboard_v1_key(m_keyboard, ++m_time, key, WL_KEYBOARD_KEY_STATE_RELEASED);
        wl_display_roundtrip(m_display);
    }

private:
    VirtualInput(wl_display *display, QSize layout) : m_display(display), m_layout(layout) {}

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
    {
        auto *input = static_cast<VirtualInput *>(data);
        const auto bind = [registry, name](const wl_interface *wanted) { return wl_registry_bind(registry, name, wanted, 1); };
        if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
            input->m_pointerManager = static_cast<zwlr_virtual_pointer_manager_v1 *>(bind(&zwlr_virtual_pointer_manager_v1_interface));
        else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
            input->m_keyboardManager = static_cast<zwp_virtual_keyboard_manager_v1 *>(bind(&zwp_virtual_keyboard_manager_v1_interface));
        else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !input->m_seat)
            input->m_seat = static_cast<wl_seat *>(bind(&wl_seat_interface));
    }
    static constexpr wl_registry_listener registryListener{global, [](void *, wl_registry *, uint32_t) {}};

    // The compositor reads the keyboard's keys through this keymap.
    bool sendKeymap()
    {
        xkb_context *context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
        xkb_keymap *keymap = context ? xkb_keymap_new_from_names(context, nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS) : nullptr;
        char *text = keymap ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
        bool sent = false;
        if (text) {
            const size_t size = std::strlen(text) + 1;
            const int fd = memfd_create("vorlie-test-keymap", MFD_CLOEXEC);
            if (fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size)) {
                zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, static_cast<uint32_t>(size));
                sent = true;
            }
            if (fd >= 0)
                close(fd);
        }
        free(text);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
        return sent;
    }
    void setButton(unsigned button, wl_pointer_button_state state)
    {
        zwlr_virtual_pointer_v1_button(m_pointer, ++m_time, button, state);
        pointerSent();
    }
    void pointerSent()
    {
        zwlr_virtual_pointer_v1_frame(m_pointer);
        wl_display_roundtrip(m_display);
    }

    wl_display *m_display;
    QSize m_layout;
    wl_seat *m_seat = nullptr;
    zwlr_virtual_pointer_manager_v1 *m_pointerManager = nullptr;
    zwp_virtual_keyboard_manager_v1 *m_keyboardManager = nullptr;
    zwlr_virtual_pointer_v1 *m_pointer = nullptr;
    zwp_virtual_keyboard_v1 *m_keyboard = nullptr;
    unsigned m_time = 0;
};

} // namespace vorlie::testing
