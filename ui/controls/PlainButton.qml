import QtQuick
import Vorlie.Theme

// A quiet text button, with a soft highlight under the pointer.
BareButton {
    id: control
    property color textColor: ThemeColor.accent
    font: ThemeFont.footnote
    topPadding: 4
    bottomPadding: 4
    leftPadding: 6
    rightPadding: 6

    contentItem: Text {
        text: control.text
        font: control.font
        color: control.textColor
        opacity: control.enabled ? 1 : 0.45
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }
    background: Rectangle {
        radius: 6
        color: Qt.rgba(ThemeColor.primaryText.r, ThemeColor.primaryText.g, ThemeColor.primaryText.b, control.down ? 0.12 : control.hovered ? 0.06 : 0)
    }
    FocusRing { control: control; cornerRadius: 6 }
}
