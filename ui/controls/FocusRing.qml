import QtQuick
import Vorlie.Theme

// The keyboard focus ring drawn around a control.
Rectangle {
    property Item control: parent
    property real cornerRadius: 8
    anchors.fill: parent
    anchors.margins: -3
    radius: cornerRadius + 3
    color: "transparent"
    border.width: 2
    border.color: ThemeColor.accent
    visible: control.visualFocus
}
