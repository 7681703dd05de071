import QtQuick
import QtQuick.Controls.Basic
import Vorlie.Theme

// A rounded text field of a form; its placeholder also names it for screen
// readers.
TextField {
    id: field
    font: ThemeFont.body
    color: ThemeColor.primaryText
    placeholderTextColor: ThemeColor.secondaryText
    selectionColor: ThemeColor.accent
    selectedTextColor: ThemeColor.accentContrast
    leftPadding: 12
    rightPadding: 12
    topPadding: 8
    bottomPadding: 8
    selectByMouse: true
    Accessible.role: Accessible.EditableText
    Accessible.name: placeholderText
    Accessible.ignored: !visible

    background: Rectangle {
        implicitWidth: 240
        implicitHeight: 36
        radius: 10
        color: ThemeColor.cardBackground
        border.width: field.activeFocus ? 2 : 1
        border.color: field.activeFocus ? ThemeColor.accent : ThemeColor.separator
        opacity: field.enabled ? 1 : 0.6
    }
}
