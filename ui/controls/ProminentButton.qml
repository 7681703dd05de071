import QtQuick
import Vorlie.Theme

// The one strong action of a screen: accent-filled, full width by default.
BareButton {
    id: control
    font: ThemeFont.body
    topPadding: 10
    bottomPadding: 10
    leftPadding: 14
    rightPadding: 14

    contentItem: Text {
        text: control.text
        font: control.font
        color: ThemeColor.accentContrast
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }
    background: Rectangle {
        implicitHeight: 36
        radius: 10
        color: control.down ? Qt.darker(ThemeColor.accent, 1.12)
             : control.hovered ? Qt.lighter(ThemeColor.accent, 1.06) : ThemeColor.accent
        opacity: control.enabled ? 1 : 0.45
        FocusRing { control: control; cornerRadius: 10 }
    }
}
