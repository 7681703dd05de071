import QtQuick
import QtQuick.Controls.Basic
import Vorlie.Theme
import Vorlie.Controls

// A compact drop-down of the interface languages, drawn in the theme.
ComboBox {
    id: control
    property string accessibleName
    font: ThemeFont.subheadline
    focusPolicy: Qt.StrongFocus
    Accessible.role: Accessible.ComboBox
    Accessible.name: accessibleName
    Accessible.ignored: !visible

    delegate: ItemDelegate {
        id: option
        required property int index
        required property string modelData
        width: ListView.view.width
        highlighted: control.highlightedIndex === index
        contentItem: Text {
            text: option.modelData
            font: control.font
            color: ThemeColor.primaryText
            textFormat: Text.PlainText
            verticalAlignment: Text.AlignVCenter
        }
        background: Rectangle {
            radius: 6
            color: option.highlighted ? Qt.rgba(ThemeColor.accent.r, ThemeColor.accent.g, ThemeColor.accent.b, 0.16) : "transparent"
        }
        Accessible.role: Accessible.ListItem
        Accessible.name: modelData
    }
    contentItem: Text {
        leftPadding: 10
        rightPadding: control.indicator.width + 6
        text: control.displayText
        font: control.font
        color: ThemeColor.primaryText
        textFormat: Text.PlainText
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        // Screen readers take a combo box's value from its text field, as
        // the stock combo box has one.
        Accessible.role: Accessible.EditableText
        Accessible.name: control.accessibleName
        Accessible.readOnly: true
    }
    indicator: Text {
        x: control.width - width - 10
        y: (control.height - height) / 2
        text: "\u25BE"
        font.pixelSize: 12
        color: ThemeColor.secondaryText
        Accessible.ignored: true
    }
    background: Rectangle {
        implicitWidth: 150
        implicitHeight: 28
        radius: 8
        color: control.down ? Qt.darker(ThemeColor.cardBackground, 1.06) : ThemeColor.windowBackground
        border.width: 1
        border.color: ThemeColor.separator
        FocusRing { control: control; cornerRadius: 8 }
    }
    popup: Popup {
        y: control.height + 2
        width: control.width
        implicitHeight: contentItem.implicitHeight + 8
        padding: 4
        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
        }
        background: Rectangle {
            radius: 8
            color: ThemeColor.cardBackground
            border.width: 1
            border.color: ThemeColor.separator
        }
    }
}
