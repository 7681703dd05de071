#pragma once

#include <QPoint>
#include <QSize>

#include <memory>

struct wl_display;
struct zwlr_virtual_pointer_v1;

namespace vorlie::testing {

// A pointer of the compositor's seat that the test moves and clicks, as a
// person's mouse would: the headless output has no input devices.
class VirtualPointer {
public:
    // Null when the compositor offers no virtual pointers.
    static std::unique_ptr<VirtualPointer> create(QSize layout);
    ~VirtualPointer();

    void moveTo(QPoint point);
    // Linux input button codes (BTN_LEFT, BTN_RIGHT).
    void press(unsigned button);
    void release(unsigned button);

private:
    VirtualPointer(wl_display *display, zwlr_virtual_pointer_v1 *pointer, QSize layout);
    void sent();

    wl_display *m_display;
    zwlr_virtual_pointer_v1 *m_pointer;
    QSize m_layout;
    unsigned m_time = 0;
};

} // namespace vorlie::testing
