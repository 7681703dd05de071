import QtQuick
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls

// A notice over the content: why the last sync failed, with a way out (try
// again, or sign in again), or why the session will not outlast a restart.
Rectangle {
    id: banner
    property string message
    // Empty: the notice offers nothing to do.
    property string actionText: qsTrId("action.retry")
    signal actionTriggered()

    implicitHeight: row.implicitHeight + 24
    radius: 12
    color: ThemeColor.cardBackground
    border.width: 1
    border.color: ThemeColor.separator

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 12
        spacing: 8
        SymbolIcon {
            name: "exclamationmark.triangle.fill"
            pointSize: 16
            color: ThemeColor.warning
        }
        PlainLabel {
            Layout.fillWidth: true
            text: banner.message
            font: ThemeFont.footnote
            wrapMode: Text.Wrap
            maximumLineCount: 3
            Accessible.role: Accessible.AlertMessage
        }
        PlainButton {
            visible: banner.actionText !== ""
            objectName: "bannerActionButton"
            text: banner.actionText
            onClicked: banner.actionTriggered()
        }
    }
}
