import QtQuick
import Vorlie.Theme
import Vorlie.Avatar

// Stands in for a picture that is loading, missing or broken.
Rectangle {
    property real size: 44
    width: size
    height: size
    radius: size / 2
    color: ThemeColor.cardBackground
    border.color: ThemeColor.separator
    border.width: 1

    SymbolIcon {
        anchors.centerIn: parent
        name: "person.fill"
        pointSize: parent.size * 0.4
        color: ThemeColor.secondaryText
    }
}
