import QtQuick
import QtQuick.Window
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Panel
import Vorlie.Picker

// The tray item's panel: a small frameless window that closes on Escape and
// when neither it nor its status picker has the focus any more. The picker
// opens beside it.
Window {
    id: panelWindow
    signal openMainWindowRequested()
    signal settingsRequested()
    signal quitRequested()

    // Where a window cannot place itself (Wayland), the panel is a normal
    // small window. Its size is fixed in both directions there, so that a
    // tiling compositor floats it instead of stretching it over half the
    // screen.
    property bool framed: false

    width: 280
    height: content.implicitHeight
    minimumWidth: 280
    maximumWidth: 280
    minimumHeight: framed ? content.implicitHeight : 0
    maximumHeight: framed ? content.implicitHeight : 16777215
    flags: framed ? Qt.Window : (Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint)
    color: ThemeColor.windowBackground
    title: qsTrId("vorlie")

    function showStatusPicker() {
        const at = PickerPlacement.beside(Qt.rect(panelWindow.x, panelWindow.y, panelWindow.width, panelWindow.height),
                                          pickerWindow.width,
                                          Qt.rect(screen.virtualX, screen.virtualY,
                                                  screen.desktopAvailableWidth, screen.desktopAvailableHeight))
        pickerWindow.x = at.x
        pickerWindow.y = at.y
        pickerWindow.show()
        pickerWindow.requestActivate()
        picker.forceActiveFocus()
    }

    function closeUnlessFocused() {
        if (!panelWindow.active && !pickerWindow.active) {
            pickerWindow.close()
            panelWindow.close()
        }
    }

    onActiveChanged: if (!active && !framed) Qt.callLater(closeUnlessFocused)
    onVisibleChanged: if (!visible) pickerWindow.close()

    QuitShortcut {}

    MenuBarContentView {
        id: content
        anchors.fill: parent
        focus: true
        Keys.onEscapePressed: panelWindow.close()
        onStatusPickerRequested: panelWindow.showStatusPicker()
        onOpenMainWindowRequested: {
            panelWindow.close()
            panelWindow.openMainWindowRequested()
        }
        onSettingsRequested: {
            panelWindow.close()
            panelWindow.settingsRequested()
        }
        onQuitRequested: panelWindow.quitRequested()
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: ThemeColor.separator
        border.width: framed ? 0 : 1
    }

    Window {
        id: pickerWindow
        transientParent: panelWindow
        flags: Qt.Tool | Qt.FramelessWindowHint | Qt.WindowStaysOnTopHint
        width: 340
        height: picker.implicitHeight
        minimumWidth: 340
        maximumWidth: 340
        minimumHeight: panelWindow.framed ? picker.implicitHeight : 0
        maximumHeight: panelWindow.framed ? picker.implicitHeight : 16777215
        color: ThemeColor.windowBackground
        title: qsTrId("status_picker.title")
        onActiveChanged: if (!active) Qt.callLater(panelWindow.closeUnlessFocused)

        QuitShortcut {}

        Loader {
            id: picker
            anchors.fill: parent
            // A new picker model for every opening, as the popover is created anew.
            active: pickerWindow.visible
            focus: true
            sourceComponent: MacStatusPickerView {
                focus: true
                onStatusSaved: content.showSavedToast()
                onDismissRequested: {
                    pickerWindow.close()
                    panelWindow.requestActivate()
                }
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
