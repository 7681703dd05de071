#include "SeatKeyboard.h"

#include "LayerSurface.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <QChar>
#include <sys/mman.h>
#include <unistd.h>

namespace vorlie::wayland {
namespace {

SeatKeyboard *keyboardOf(void *data)
{
    return static_cast<SeatKeyboard *>(data);
}

void onKeymap(void *data, wl_keyboard *, uint32_t format, int32_t fd, uint32_t size)
{
    keyboardOf(data)->keymap({format, fd, size});
}

void onEnter(void *data, wl_keyboard *, uint32_t, wl_surface *surface, wl_array *)
{
    keyboardOf(data)->entered(surface);
}

void onLeave(void *data, wl_keyboard *, uint32_t, wl_surface *)
{
    keyboardOf(data)->left();
}

void onKey(void *data, wl_keyboard *, uint32_t, uint32_t, uint32_t key, uint32_t state)
{
    keyboardOf(data)->key(key, state == WL_KEYBOARD_KEY_STATE_PRESSED);
}

void onModifiers(void *data, wl_keyboard *, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                 uint32_t group)
{
    keyboardOf(data)->modifiers(depressed, latched, locked, group);
}

void onRepeatInfo(void *, wl_keyboard *, int32_t, int32_t) {}

const wl_keyboard_listener keyboardListener{onKeymap, onEnter, onLeave, onKey, onModifiers, onRepeatInfo};

// Evdev key codes are XKB's minus 8.
constexpr uint32_t evdevOffset = 8;

// The Qt key code of an XKB key symbol; 0 when Qt has none for it.
int qtKeyOf(uint32_t keysym)
{
    switch (keysym) {
    case XKB_KEY_Escape: return Qt::Key_Escape;
    case XKB_KEY_Tab: return Qt::Key_Tab;
    case XKB_KEY_ISO_Left_Tab: return Qt::Key_Backtab;
    case XKB_KEY_Return: return Qt::Key_Return;
    case XKB_KEY_KP_Enter: return Qt::Key_Enter;
    case XKB_KEY_BackSpace: return Qt::Key_Backspace;
    case XKB_KEY_Delete: return Qt::Key_Delete;
    case XKB_KEY_Home: return Qt::Key_Home;
    case XKB_KEY_End: return Qt::Key_End;
    case XKB_KEY_Left: return Qt::Key_Left;
    case XKB_KEY_Right: return Qt::Key_Right;
    case XKB_KEY_Up: return Qt::Key_Up;
    case XKB_KEY_Down: return Qt::Key_Down;
    case XKB_KEY_Page_Up: return Qt::Key_PageUp;
    case XKB_KEY_Page_Down: return Qt::Key_PageDown;
    case XKB_KEY_Shift_L:
    case XKB_KEY_Shift_R: return Qt::Key_Shift;
    case XKB_KEY_Control_L:
    case XKB_KEY_Control_R: return Qt::Key_Control;
    case XKB_KEY_Alt_L:
    case XKB_KEY_Alt_R: return Qt::Key_Alt;
    case XKB_KEY_Super_L:
    case XKB_KEY_Super_R: return Qt::Key_Meta;
    default: break;
    }
    // Qt names a printable key by its upper-case character.
    const uint32_t character = xkb_keysym_to_utf32(keysym);
    if (character < 0x20 || character > 0xffff)
        return 0;
    return QChar(static_cast<char16_t>(character)).toUpper().unicode();
}

} // namespace

SeatKeyboard::SeatKeyboard(wl_seat *seat, SurfaceLookup lookup)
    : m_keyboard(wl_seat_get_keyboard(seat))
    , m_lookup(std::move(lookup))
    , m_context(xkb_context_new(XKB_CONTEXT_NO_FLAGS))
{
    wl_keyboard_add_listener(m_keyboard, &keyboardListener, this);
}

SeatKeyboard::~SeatKeyboard()
{
    dropKeymap();
    xkb_context_unref(m_context);
    wl_keyboard_release(m_keyboard);
}

void SeatKeyboard::dropKeymap()
{
    xkb_state_unref(m_state);
    xkb_keymap_unref(m_keymap);
    m_state = nullptr;
    m_keymap = nullptr;
}

void SeatKeyboard::forget(const LayerSurface *surface)
{
    if (m_focus == surface)
        m_focus = nullptr;
}

void SeatKeyboard::keymap(KeymapFile file)
{
    dropKeymap();
    if (file.format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && m_context) {
        void *text = mmap(nullptr, file.size, PROT_READ, MAP_PRIVATE, file.fd, 0);
        if (text != MAP_FAILED) {
            m_keymap = xkb_keymap_new_from_string(m_context, static_cast<const char *>(text),
                                                  XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
            munmap(text, file.size);
        }
    }
    if (m_keymap)
        m_state = xkb_state_new(m_keymap);
    close(file.fd);
}

void SeatKeyboard::entered(wl_surface *surface)
{
    m_focus = m_lookup(surface);
    if (m_focus)
        emit m_focus->keyboardEntered();
}

void SeatKeyboard::left()
{
    if (LayerSurface *had = std::exchange(m_focus, nullptr))
        emit had->keyboardLeft();
}

void SeatKeyboard::key(uint32_t key, bool pressed)
{
    if (!m_focus || !m_state)
        return;
    const xkb_keycode_t code = key + evdevOffset;
    const int qtKey = qtKeyOf(xkb_state_key_get_one_sym(m_state, code));
    if (qtKey == 0)
        return;
    Qt::KeyboardModifiers modifiers;
    const auto active = [this](const char *name) {
        return xkb_state_mod_name_is_active(m_state, name, XKB_STATE_MODS_EFFECTIVE) > 0;
    };
    modifiers.setFlag(Qt::ShiftModifier, active(XKB_MOD_NAME_SHIFT));
    modifiers.setFlag(Qt::ControlModifier, active(XKB_MOD_NAME_CTRL));
    modifiers.setFlag(Qt::AltModifier, active(XKB_MOD_NAME_ALT));
    modifiers.setFlag(Qt::MetaModifier, active(XKB_MOD_NAME_LOGO));
    char text[16] = {};
    xkb_state_key_get_utf8(m_state, code, text, sizeof text);
    if (pressed)
        emit m_focus->keyPressed(qtKey, modifiers, QString::fromUtf8(text));
    else
        emit m_focus->keyReleased(qtKey, modifiers, QString::fromUtf8(text));
}

void SeatKeyboard::modifiers(uint32_t depressed, uint32_t latched, uint32_t locked, uint32_t group)
{
    if (m_state)
        xkb_state_update_mask(m_state, depressed, latched, locked, 0, 0, group);
}

} // namespace vorlie::wayland
