import QtQuick
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Panel

// What the tray item's panel holds, whatever shows it (a window of its own,
// or a surface on a layer of the desktop): the panel's content with its
// border, and the status picker popover that opens beside it. It asks its
// host to close on Escape and when neither it nor the picker has the focus.
FocusScope {
    id: body
    signal closeRequested()
    signal focusRequested()
    signal openMainWindowRequested()
    signal settingsRequested()
    signal quitRequested()

    // Set by the host: whether the panel is on screen and has the keyboard.
    property bool shown: false
    property bool focused: false
    // Where a window can place itself (X11), the picker opens beside the
    // panel's `area` on the screen; elsewhere the desktop places it, and
    // its size is fixed so that a tiling compositor floats it.
    property bool placesPicker: true
    property rect area
    property Window pickerParent: null
    readonly property bool pickerOpen: pickerWindow.visible
    // A panel in a frame of the desktop's needs no border of its own.
    property bool bordered: true

    implicitWidth: 280
    implicitHeight: content.implicitHeight

    function showStatusPicker() {
        if (placesPicker) {
            const screen = body.Window.window.screen
            const at = PickerPlacement.beside(area, pickerWindow.width,
                                              Qt.rect(screen.virtualX, screen.virtualY,
                                                      screen.desktopAvailableWidth, screen.desktopAvailableHeight))
            pickerWindow.x = at.x
            pickerWindow.y = at.y
        }
        // A Window inside an item takes that item's window as its parent
        // unless told otherwise, and a layer's scene has no window on screen.
        pickerWindow.transientParent = body.pickerParent
        // Made before it is shown: a window of no height is never mapped on Wayland.
        pickerWindow.wanted = true
        pickerWindow.show()
        pickerWindow.requestActivate()
        picker.forceActiveFocus()
    }

    function closeUnlessFocused() {
        if (!body.focused && !pickerWindow.active && !pickerWindow.opening) {
            pickerWindow.close()
            body.closeRequested()
        }
    }

    onFocusedChanged: if (!focused) Qt.callLater(closeUnlessFocused)
    onShownChanged: if (!shown) pickerWindow.close()

    MenuBarContentView {
        id: content
        anchors.fill: parent
        shown: body.shown
        focus: true
        Keys.onEscapePressed: body.closeRequested()
        onStatusPickerRequested: body.showStatusPicker()
        onOpenMainWindowRequested: {
            body.closeRequested()
            body.openMainWindowRequested()
        }
        onSettingsRequested: {
            body.closeRequested()
            body.settingsRequested()
        }
        onQuitRequested: body.quitRequested()
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: ThemeColor.separator
        border.width: body.bordered ? 1 : 0
    }

    Window {
        id: pickerWindow
        // From the request to show it until the desktop gives it the focus,
        // the panel's loss of the focus does not close the two.
        property bool opening: false
        property bool wanted: false
        flags: PanelWindowKinds.popover
        width: 340
        height: picker.implicitHeight
        minimumWidth: 340
        maximumWidth: 340
        minimumHeight: body.placesPicker ? 0 : picker.implicitHeight
        maximumHeight: body.placesPicker ? 16777215 : picker.implicitHeight
        color: ThemeColor.windowBackground
        title: qsTrId("status_picker.title")
        onVisibleChanged: {
            opening = visible
            wanted = visible
        }
        onActiveChanged: {
            opening = false
            // A picker closed on purpose hands the focus back to the panel.
            if (!active && visible)
                Qt.callLater(body.closeUnlessFocused)
        }

        QuitShortcut {}

        Loader {
            id: picker
            anchors.fill: parent
            // A new picker model for every opening, as the popover is created anew.
            active: pickerWindow.wanted
            focus: true
            // Named by address, the picker loads its types and controls when
            // first opened instead of before the panel's first frame.
            source: "qrc:/Vorlie/Picker/MacStatusPickerView.qml"
            onLoaded: item.focus = true
        }
        Connections {
            target: picker.item
            function onStatusSaved() { content.showSavedToast() }
            function onDismissRequested() {
                pickerWindow.close()
                body.focusRequested()
            }
        }
        Rectangle {
            anchors.fill: parent
            color: "transparent"
            border.color: ThemeColor.separator
            border.width: 1
        }
    }
}
