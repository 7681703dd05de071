import QtQuick
import QtQuick.Controls.Basic
import Vorlie.Theme
import Vorlie.Controls

// A calm outlined button for a step that is not yet the final action.
Button {
    id: control
    property color textColor: ThemeColor.primaryText
    font: ThemeFont.body
    topPadding: 9
    bottomPadding: 9
    leftPadding: 14
    rightPadding: 14
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.ignored: !visible

    contentItem: Text {
        text: control.text
        font: control.font
        color: control.textColor
        opacity: control.enabled ? 1 : 0.4
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
    }
    background: Rectangle {
        implicitHeight: 36
        radius: 10
        color: control.down ? Qt.darker(ThemeColor.cardBackground, 1.08) : ThemeColor.cardBackground
        border.width: 1
        border.color: ThemeColor.separator
        opacity: control.enabled ? 1 : 0.6
        FocusRing { control: control; cornerRadius: 10 }
    }
    Keys.onReturnPressed: if (enabled) clicked()
    Keys.onEnterPressed: if (enabled) clicked()
}
