import QtQuick
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Settings

// The settings on their own, as the tray menu opens them. Closing only
// hides the window; a sign-out closes it too.
Window {
    id: window
    title: qsTrId("tab.settings")
    width: 380
    height: 380
    minimumWidth: 380
    minimumHeight: 380
    color: ThemeColor.windowBackground

    // A fresh form each time the window opens, as a sheet would be.
    Loader {
        anchors.fill: parent
        active: window.visible
        focus: true
        sourceComponent: MacSettingsView {
            onDismissRequested: window.close()
        }
    }
    QuitShortcut {}
    Shortcut {
        sequence: StandardKey.Cancel
        onActivated: window.close()
    }
}
