import QtQuick
import Vorlie.Theme

// A button that shows only a symbol; `accessibleName` names its action.
BareButton {
    id: control
    property string symbol
    property real symbolSize: 18
    property color symbolColor: ThemeColor.secondaryText
    property string accessibleName

    padding: 4
    horizontalPadding: 6
    Accessible.name: accessibleName

    contentItem: SymbolIcon {
        name: control.symbol
        pointSize: control.symbolSize
        color: control.symbolColor
        opacity: control.enabled ? 1 : 0.45
    }
    background: Rectangle {
        implicitWidth: control.symbolSize + 10
        implicitHeight: control.symbolSize + 10
        radius: width / 2
        color: Qt.rgba(ThemeColor.primaryText.r, ThemeColor.primaryText.g, ThemeColor.primaryText.b, control.down ? 0.12 : control.hovered ? 0.06 : 0)
    }
    FocusRing { control: control; cornerRadius: width / 2 - 3 }
    // Made on the first hover: the tooltip is Quick Controls' own, whose
    // style would otherwise load before the window's first frame.
    Loader {
        anchors.fill: parent
        active: control.hovered && control.accessibleName !== ""
        source: "SymbolToolTip.qml"
        onLoaded: item.text = Qt.binding(() => control.accessibleName)
    }
}
