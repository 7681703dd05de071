import QtQuick
import QtQuick.Layouts
import Vorlie.Theme

// In place of the card while there is no main person yet.
ColumnLayout {
    spacing: 12

    Item { implicitHeight: 4 }
    SymbolIcon {
        Layout.alignment: Qt.AlignHCenter
        name: "person.crop.circle.badge.plus"
        pointSize: 40
        color: ThemeColor.secondaryText
    }
    Text {
        Layout.fillWidth: true
        text: qsTrId("home.no_main_person.title")
        font: ThemeFont.headline
        color: ThemeColor.primaryText
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Accessible.ignored: !visible
    }
    Text {
        Layout.fillWidth: true
        text: qsTrId("home.no_main_person.subtitle")
        font: ThemeFont.footnote
        color: ThemeColor.secondaryText
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Accessible.ignored: !visible
    }
    Item { implicitHeight: 4 }
}
