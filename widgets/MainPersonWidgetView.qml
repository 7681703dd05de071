import QtQuick
import Vorlie.Theme
import Vorlie.Widgets

// One timeline entry in the size the host asks for, on the window
// background. A tap opens what the entry says.
Rectangle {
    id: root
    property QtObject entry
    property string family: "small"
    readonly property url widgetURL: entry ? entry.widgetURL : ""

    color: ThemeColor.windowBackground
    radius: 22

    Loader {
        anchors.fill: parent
        sourceComponent: root.family === "small" ? small : medium
    }
    Component {
        id: small
        HomeScreenSmallView { snapshot: root.entry ? root.entry.snapshot : null }
    }
    Component {
        id: medium
        HomeScreenMediumView {
            snapshot: root.entry ? root.entry.snapshot : null
            showUpdatedTime: root.entry ? root.entry.showUpdatedTime : true
        }
    }
}
