import QtQuick
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Panel

// The tray item's panel as a window of its own: small and frameless where
// it can place itself next to the tray (X11), closing when it loses the
// focus. Where it cannot and the desktop offers no layer for it, it is a
// normal small window whose size is fixed in both directions, so that a
// tiling compositor floats it instead of stretching it over half the screen.
Window {
    id: panelWindow
    signal openMainWindowRequested()
    signal settingsRequested()
    signal quitRequested()

    property bool framed: false

    width: 280
    height: body.implicitHeight
    minimumWidth: 280
    maximumWidth: 280
    minimumHeight: framed ? body.implicitHeight : 0
    maximumHeight: framed ? body.implicitHeight : 16777215
    flags: framed ? PanelWindowKinds.framed : PanelWindowKinds.popover
    color: ThemeColor.windowBackground
    title: qsTrId("vorlie")

    QuitShortcut {}

    PanelBody {
        id: body
        anchors.fill: parent
        focus: true
        shown: panelWindow.visible
        // A framed window stays until it is closed, like any window.
        focused: panelWindow.active || panelWindow.framed
        placesPicker: !panelWindow.framed
        bordered: !panelWindow.framed
        area: Qt.rect(panelWindow.x, panelWindow.y, panelWindow.width, panelWindow.height)
        pickerParent: panelWindow
        onCloseRequested: panelWindow.close()
        onFocusRequested: panelWindow.requestActivate()
        onOpenMainWindowRequested: panelWindow.openMainWindowRequested()
        onSettingsRequested: panelWindow.settingsRequested()
        onQuitRequested: panelWindow.quitRequested()
    }
}
