import QtQuick
import Vorlie.Theme

// A short confirmation near the bottom of its host, gone again after two
// seconds. show() while it is up does not restart the two seconds; hiding
// the host's window ends it at once. It never covers the bottom 32 points
// and lets clicks through.
Item {
    id: toast
    property bool isPresented: false
    property string message
    property string systemImage

    function show() { isPresented = true }

    anchors.fill: parent
    z: 100

    Timer {
        interval: 2000
        running: toast.isPresented
        onTriggered: toast.isPresented = false
    }
    Connections {
        target: toast.Window.window
        function onVisibleChanged() {
            if (!toast.Window.window.visible)
                toast.isPresented = false
        }
    }

    Rectangle {
        id: capsule
        anchors.horizontalCenter: parent.horizontalCenter
        y: parent.height - 32 - height + (toast.isPresented ? 0 : height / 2)
        width: label.implicitWidth + 32
        height: label.implicitHeight + 24
        radius: height / 2
        color: ThemeColor.accent
        opacity: toast.isPresented ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { enabled: !Motion.reduceMotion; NumberAnimation { duration: 250; easing.type: Easing.OutCubic } }
        Behavior on y { enabled: !Motion.reduceMotion; NumberAnimation { duration: 250; easing.type: Easing.OutCubic } }
        Accessible.role: Accessible.AlertMessage
        Accessible.name: toast.message
        Accessible.ignored: !visible

        Row {
            id: label
            anchors.centerIn: parent
            spacing: 6
            SymbolIcon {
                name: toast.systemImage
                pointSize: 14
                color: ThemeColor.accentContrast
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                text: toast.message
                textFormat: Text.PlainText
                font.family: ThemeFont.footnote.family
                font.pixelSize: ThemeFont.footnote.pixelSize
                font.weight: Font.DemiBold
                color: ThemeColor.accentContrast
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
}
