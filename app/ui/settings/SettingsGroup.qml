import QtQuick
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls

// One group of the form: an optional caption over a rounded card whose rows
// are separated by hairlines.
ColumnLayout {
    id: group
    property string title
    default property alias rows: rowColumn.data

    spacing: 6

    Text {
        visible: group.title !== ""
        Layout.leftMargin: 12
        Layout.fillWidth: true
        text: group.title
        font: ThemeFont.footnote
        color: ThemeColor.secondaryText
        elide: Text.ElideRight
        Accessible.role: Accessible.Heading
        Accessible.name: text
        Accessible.ignored: !visible
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: rowColumn.implicitHeight
        radius: 10
        color: ThemeColor.cardBackground
        border.width: 1
        border.color: ThemeColor.separator

        ColumnLayout {
            id: rowColumn
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.leftMargin: 12
            anchors.rightMargin: 12
            spacing: 0
        }
    }
}
