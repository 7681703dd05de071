#pragma once

#include <QString>
#include <functional>

struct wl_keyboard;
struct wl_seat;
struct wl_surface;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace vorlie::wayland {

class LayerSurface;

// The seat's keyboard on our own Wayland connection. Keys are read through
// the compositor's keymap with xkbcommon, so a key means what the user's
// layout says, and they go to the layer surface that has the keyboard as
// Qt key codes, modifiers and text.
class SeatKeyboard {
public:
    using SurfaceLookup = std::function<LayerSurface *(wl_surface *)>;

    SeatKeyboard(wl_seat *seat, SurfaceLookup lookup);
    ~SeatKeyboard();
    SeatKeyboard(const SeatKeyboard &) = delete;
    SeatKeyboard &operator=(const SeatKeyboard &) = delete;

    // A surface that goes away stops getting keys.
    void forget(const LayerSurface *surface);

    // For the keyboard's listener.
    struct KeymapFile {
        uint32_t format;
        int fd;
        uint32_t size;
    };
    void keymap(KeymapFile file);
    void entered(wl_surface *surface);
    void left();
    void key(uint32_t key, bool pressed);
    void modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group);

private:
    void dropKeymap();

    wl_keyboard *m_keyboard;
    SurfaceLookup m_lookup;
    xkb_context *m_context;
    xkb_keymap *m_keymap = nullptr;
    xkb_state *m_state = nullptr;
    LayerSurface *m_focus = nullptr;
};

} // namespace vorlie::wayland
