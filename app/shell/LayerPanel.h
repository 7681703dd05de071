#pragma once

#include "LayerSurface.h"
#include "tray/PanelPlacement.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QQuickItem;

namespace vorlie {

class UiRoot;

namespace wayland {
class LayerShell;
class LayerQuickView;
} // namespace wayland

// The tray item's panel on the desktop's top layer, where the compositor
// offers layers (wlr-layer-shell: sway, Hyprland, KDE Plasma): it hangs
// from the tray's corner of the screen, takes the keyboard, and closes on
// Escape, when the keyboard goes anywhere but its status picker, and on a
// click anywhere else, as a menu does (some compositors keep the keyboard
// on a layer however the user clicks). A Wayland window cannot place
// itself, so on such desktops this is the only way to open the panel next
// to the tray.
class LayerPanel : public QObject {
    Q_OBJECT

public:
    // The desktop's layers, where Wayland has them; Qt Quick is then told
    // to draw with its software renderer, the only one that can draw off
    // screen there. Call before the first Qt Quick window is made.
    static std::unique_ptr<wayland::LayerShell> connectToLayers();
    // Null when Qt Quick cannot draw the panel off screen after all; the
    // panel is then a window of its own.
    static std::unique_ptr<LayerPanel> create(UiRoot &ui, std::unique_ptr<wayland::LayerShell> shell);
    ~LayerPanel() override;

    bool isShown() const;
    void show(const PanelAnchor &anchor);

public slots:
    void hide();

signals:
    void openMainWindowRequested();
    void settingsRequested();
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void takeKeyboardBack();
    void pickerOpenChanged();

private:
    LayerPanel(std::unique_ptr<wayland::LayerShell> shell, QQuickItem *body);
    // A clear surface over the whole screen below the panel, whose click closes it.
    void catchClicksElsewhere(bool catching);
    // Tells the body whether it has the keyboard, or has asked for it back.
    void showFocus();

    std::unique_ptr<wayland::LayerShell> m_shell;
    std::unique_ptr<wayland::LayerSurface> m_catcher;
    std::unique_ptr<wayland::LayerQuickView> m_view;
    QPointer<QQuickItem> m_body;
    wayland::LayerPlacement m_placement;
    // Given up to the picker and asked back: the layer's news about the
    // keyboard come over a connection of their own, so they may still tell
    // of the time before the picker when the picker has already closed.
    bool m_keyboardGivenUp = false;
    bool m_keyboardAskedBack = false;
};

} // namespace vorlie
