import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls

// A labelled switch. It never flips itself: it shows `on` and asks for the
// other value, so the presenter decides what it shows. A check box under its
// look, so screen readers hear a check box that is on or off, where a
// control that cannot be checked would be a plain button.
CheckBox {
    id: control
    property bool on
    property bool separatorAbove: false
    signal toggledTo(bool value)

    Layout.fillWidth: true
    checked: on
    nextCheckState: () => checkState
    onClicked: toggledTo(!on)
    font: ThemeFont.subheadline
    leftPadding: 0
    rightPadding: 0
    topPadding: 8
    bottomPadding: 8
    spacing: 12
    focusPolicy: Qt.StrongFocus
    Accessible.name: text
    Accessible.ignored: !visible
    // Toggled by assistive technology, it asks the presenter as a click does.
    Accessible.onToggleAction: clicked()

    Rectangle {
        visible: control.separatorAbove
        anchors.top: parent.top
        width: parent.width
        height: 1
        color: ThemeColor.separator
    }

    contentItem: Text {
        text: control.text
        font: control.font
        color: ThemeColor.primaryText
        textFormat: Text.PlainText
        wrapMode: Text.WordWrap
        verticalAlignment: Text.AlignVCenter
        rightPadding: control.indicator.width + control.spacing
    }
    indicator: Rectangle {
        implicitWidth: 36
        implicitHeight: 20
        x: control.width - width
        y: (control.height - height) / 2
        radius: height / 2
        color: control.checked ? ThemeColor.accent : Qt.rgba(ThemeColor.primaryText.r, ThemeColor.primaryText.g, ThemeColor.primaryText.b, 0.18)
        Behavior on color { enabled: !Motion.reduceMotion; ColorAnimation { duration: 150 } }

        Rectangle {
            width: 16
            height: 16
            radius: 8
            y: 2
            x: control.checked ? parent.width - width - 2 : 2
            color: "white"
            border.width: 1
            border.color: Qt.rgba(0, 0, 0, 0.08)
            Behavior on x { enabled: !Motion.reduceMotion; NumberAnimation { duration: 150; easing.type: Easing.OutCubic } }
        }
        FocusRing { control: control; cornerRadius: 10 }
    }
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()
}
