#include "VirtualPointer.h"

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstring>

namespace vorlie::testing {
namespace {

void registryGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t)
{
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        *static_cast<zwlr_virtual_pointer_manager_v1 **>(data) = static_cast<zwlr_virtual_pointer_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void registryGlobalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener{registryGlobal, registryGlobalRemove};

} // namespace

std::unique_ptr<VirtualPointer> VirtualPointer::create(QSize layout)
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    zwlr_virtual_pointer_manager_v1 *manager = nullptr;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &manager);
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

VirtualPointer::VirtualPointer(wl_display *display, zwlr_virtual_pointer_v1 *pointer, QSize layout)
    : m_display(display)
    , m_pointer(pointer)
    , m_layout(layout)
{
}

VirtualPointer::~VirtualPointer()
{
    zwlr_virtual_pointer_v1_destroy(m_pointer);
    wl_display_roundtrip(m_display);
    wl_display_disconnect(m_display);
}

void VirtualPointer::moveTo(QPoint point)
{
    zwlr_virtual_pointer_v1_motion_absolute(m_pointer, ++m_time, static_cast<uint32_t>(point.x()),
                                            static_cast<uint32_t>(point.y()), static_cast<uint32_t>(m_layout.width()),
                                            static_cast<uint32_t>(m_layout.height()));
    sent();
}

void VirtualPointer::press(unsigned button)
{
    zwlr_virtual_pointer_v1_button(m_pointer, ++m_time, button, WL_POINTER_BUTTON_STATE_PRESSED);
    sent();
}

void VirtualPointer::release(unsigned button)
{
    zwlr_virtual_pointer_v1_button(m_pointer, ++m_time, button, WL_POINTER_BUTTON_STATE_RELEASED);
    sent();
}

void VirtualPointer::sent()
{
    zwlr_virtual_pointer_v1_frame(m_pointer);
    wl_display_roundtrip(m_display);
}

} // namespace vorlie::testing
