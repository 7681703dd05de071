import QtQuick
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Main

// The main window. Closing it hides it, and the program decides the rest:
// on a tray it lets the window go while the tray item and the refresh keep
// running, and the next launch or tray click makes it anew; without a tray
// the program ends.
Window {
    id: window
    title: qsTrId("vorlie")
    width: 460
    height: 560
    minimumWidth: 460
    minimumHeight: root.minimumContentHeight
    color: ThemeColor.windowBackground

    // Signed out the window never gets shorter than the sign-in form, so the
    // form is never cut.
    onMinimumHeightChanged: if (height < minimumHeight) height = minimumHeight

    onClosing: close => {
        close.accepted = false
        window.hide()
    }

    QuitShortcut {}

    RootMacView {
        id: root
        anchors.fill: parent
        focus: true
    }
}
