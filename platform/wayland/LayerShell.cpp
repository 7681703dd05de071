#include "LayerShell.h"

#include "LayerSurface.h"
#include "SeatKeyboard.h"
#include "viewporter-client-protocol.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <linux/input-event-codes.h>

namespace vorlie::wayland {
namespace {

LayerShell *shellOf(void *data)
{
    return static_cast<LayerShell *>(data);
}

void registryGlobal(void *data, wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    shellOf(data)->bindGlobal(registry, name, interface, version);
}

void registryGlobalRemove(void *, wl_registry *, uint32_t) {}

const wl_registry_listener registryListener{registryGlobal, registryGlobalRemove};

void seatCapabilities(void *data, wl_seat *, uint32_t capabilities)
{
    shellOf(data)->seatCapabilities(capabilities);
}

void seatName(void *, wl_seat *, const char *) {}

const wl_seat_listener seatListener{seatCapabilities, seatName};

QPointF pointOf(wl_fixed_t x, wl_fixed_t y)
{
    return {wl_fixed_to_double(x), wl_fixed_to_double(y)};
}

void pointerEnter(void *data, wl_pointer *, uint32_t, wl_surface *surface, wl_fixed_t x, wl_fixed_t y)
{
    shellOf(data)->pointerEntered(surface, pointOf(x, y));
}

void pointerLeave(void *data, wl_pointer *, uint32_t, wl_surface *)
{
    shellOf(data)->pointerLeft();
}

void pointerMotion(void *data, wl_pointer *, uint32_t, wl_fixed_t x, wl_fixed_t y)
{
    shellOf(data)->pointerMoved(pointOf(x, y));
}

void pointerButton(void *data, wl_pointer *, uint32_t, uint32_t, uint32_t button, uint32_t state)
{
    shellOf(data)->pointerButton(button, state == WL_POINTER_BUTTON_STATE_PRESSED);
}

void pointerAxis(void *, wl_pointer *, uint32_t, uint32_t, wl_fixed_t) {}
void pointerFrame(void *, wl_pointer *) {}
void pointerAxisSource(void *, wl_pointer *, uint32_t) {}
void pointerAxisStop(void *, wl_pointer *, uint32_t, uint32_t) {}
void pointerAxisDiscrete(void *, wl_pointer *, uint32_t, int32_t) {}

// Every event of the version bound (5); a missing one would abort.
const wl_pointer_listener pointerListener{.enter = pointerEnter,
                                          .leave = pointerLeave,
                                          .motion = pointerMotion,
                                          .button = pointerButton,
                                          .axis = pointerAxis,
                                          .frame = pointerFrame,
                                          .axis_source = pointerAxisSource,
                                          .axis_stop = pointerAxisStop,
                                          .axis_discrete = pointerAxisDiscrete,
                                          // Sent from version 8 on only.
                                          .axis_value120 = nullptr};

Qt::MouseButton qtButton(uint32_t button)
{
    switch (button) {
    case BTN_LEFT:
        return Qt::LeftButton;
    case BTN_RIGHT:
        return Qt::RightButton;
    case BTN_MIDDLE:
        return Qt::MiddleButton;
    default:
        return Qt::NoButton;
    }
}

} // namespace

std::unique_ptr<LayerShell> LayerShell::connect()
{
    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<LayerShell> shell(new LayerShell(display));
    if (!shell->roundTrip() || !shell->m_compositor || !shell->m_shm || !shell->m_layerShell)
        return nullptr;
    // The seat's capabilities arrive after it is bound.
    shell->roundTrip();
    return shell;
}

LayerShell::LayerShell(wl_display *display)
    : m_display(display)
    , m_registry(wl_display_get_registry(display))
    , m_reader(std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read))
{
    wl_registry_add_listener(m_registry, &registryListener, this);
    QObject::connect(m_reader.get(), &QSocketNotifier::activated, this, &LayerShell::dispatch);
}

LayerShell::~LayerShell()
{
    m_reader.reset();
    m_keyboard.reset();
    if (m_pointer)
        wl_pointer_destroy(m_pointer);
    if (m_seat)
        wl_seat_destroy(m_seat);
    if (m_layerShell)
        zwlr_layer_shell_v1_destroy(m_layerShell);
    if (m_viewporter)
        wp_viewporter_destroy(m_viewporter);
    if (m_shm)
        wl_shm_destroy(m_shm);
    if (m_compositor)
        wl_compositor_destroy(m_compositor);
    wl_registry_destroy(m_registry);
    wl_display_flush(m_display);
    wl_display_disconnect(m_display);
}

void LayerShell::bindGlobal(wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    const auto bind = [registry, name, version](const wl_interface *wanted, uint32_t highest) {
        return wl_registry_bind(registry, name, wanted, std::min(version, highest));
    };
    if (std::strcmp(interface, wl_compositor_interface.name) == 0) {
        m_compositor = static_cast<wl_compositor *>(bind(&wl_compositor_interface, 4));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0) {
        m_shm = static_cast<wl_shm *>(bind(&wl_shm_interface, 1));
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0) {
        m_layerShell = static_cast<zwlr_layer_shell_v1 *>(bind(&zwlr_layer_shell_v1_interface, 4));
    } else if (std::strcmp(interface, wp_viewporter_interface.name) == 0) {
        m_viewporter = static_cast<wp_viewporter *>(bind(&wp_viewporter_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !m_seat) {
        m_seat = static_cast<wl_seat *>(bind(&wl_seat_interface, 5));
        wl_seat_add_listener(m_seat, &seatListener, this);
    }
}

uint32_t LayerShell::layerShellVersion() const
{
    return zwlr_layer_shell_v1_get_version(m_layerShell);
}

LayerSurface *LayerShell::surfaceOf(wl_surface *surface) const
{
    const auto found = std::find_if(m_surfaces.cbegin(), m_surfaces.cend(),
                                    [surface](const LayerSurface *candidate) { return candidate->surface() == surface; });
    return found == m_surfaces.cend() ? nullptr : *found;
}

void LayerShell::seatCapabilities(uint32_t capabilities)
{
    const bool hasKeyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasKeyboard && !m_keyboard)
        m_keyboard = std::make_unique<SeatKeyboard>(m_seat, [this](wl_surface *surface) { return surfaceOf(surface); });
    else if (!hasKeyboard)
        m_keyboard.reset();

    const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (hasPointer && !m_pointer) {
        m_pointer = wl_seat_get_pointer(m_seat);
        wl_pointer_add_listener(m_pointer, &pointerListener, this);
    } else if (!hasPointer && m_pointer) {
        wl_pointer_release(m_pointer);
        m_pointer = nullptr;
        m_underPointer = nullptr;
    }
}

void LayerShell::addSurface(LayerSurface *surface)
{
    m_surfaces.append(surface);
}

void LayerShell::removeSurface(LayerSurface *surface)
{
    m_surfaces.removeAll(surface);
    if (m_underPointer == surface)
        m_underPointer = nullptr;
    if (m_keyboard)
        m_keyboard->forget(surface);
}

void LayerShell::pointerEntered(wl_surface *surface, QPointF position)
{
    m_underPointer = surfaceOf(surface);
    m_pointerPosition = position;
    if (m_underPointer)
        emit m_underPointer->pointerEntered(position);
}

void LayerShell::pointerLeft()
{
    // A drag keeps its surface: the pointer may run ahead of it.
    if (m_underPointer && !m_underPointer->isPressed())
        emit std::exchange(m_underPointer, nullptr)->pointerLeft();
}

void LayerShell::pointerMoved(QPointF position)
{
    m_pointerPosition = position;
    if (m_underPointer)
        emit m_underPointer->pointerMoved(position);
}

void LayerShell::pointerButton(uint32_t button, bool pressed)
{
    const Qt::MouseButton qt = qtButton(button);
    if (!m_underPointer || qt == Qt::NoButton)
        return;
    m_underPointer->setPressed(pressed && qt == Qt::LeftButton);
    if (pressed)
        emit m_underPointer->pointerPressed(qt, m_pointerPosition);
    else
        emit m_underPointer->pointerReleased(qt, m_pointerPosition);
}

void LayerShell::flush()
{
    wl_display_flush(m_display);
}

bool LayerShell::roundTrip()
{
    return wl_display_roundtrip(m_display) >= 0;
}

void LayerShell::dispatch()
{
    if (wl_display_dispatch(m_display) < 0) {
        // The compositor went away: nothing more will arrive.
        m_reader->setEnabled(false);
        return;
    }
    flush();
}

} // namespace vorlie::wayland
