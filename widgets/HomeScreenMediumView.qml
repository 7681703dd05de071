import QtQuick
import QtQuick.Window
import Vorlie.Theme
import Vorlie.Widgets

// The medium widget: the avatar beside the name, the status and how long
// ago it was set.
Item {
    id: view
    property QtObject snapshot
    property bool showUpdatedTime: true
    readonly property real contentWidth: width - 32

    // The elapsed time is worded when it is drawn, by the snapshot's clock:
    // when a snapshot arrives, when the widget comes into view, and once a
    // minute while it is on screen; never while it is hidden.
    function drawElapsed() { elapsed.text = snapshot ? snapshot.elapsedText() : "" }
    onSnapshotChanged: drawElapsed()
    Component.onCompleted: drawElapsed()
    Timer {
        interval: 60 * 1000
        repeat: true
        running: elapsed.visible && view.Window.visibility !== Window.Hidden
        onRunningChanged: if (running) view.drawElapsed()
        onTriggered: view.drawElapsed()
    }

    Row {
        visible: view.snapshot !== null
        anchors.verticalCenter: parent.verticalCenter
        x: 16
        spacing: 16

        CachedAvatarImageView {
            id: avatar
            anchors.verticalCenter: parent.verticalCenter
            size: 72
            snapshot: view.snapshot
            visualState: view.snapshot ? view.snapshot.moodShown : "neutral"
        }
        Column {
            id: texts
            readonly property real available: view.contentWidth - avatar.width - 16
            anchors.verticalCenter: parent.verticalCenter
            spacing: 4

            PlainLabel {
                width: Math.min(implicitWidth, texts.available)
                text: view.snapshot ? view.snapshot.displayName : ""
                font: WidgetFonts.largeTitle
            }
            StatusLine {
                visible: view.snapshot !== null && !view.snapshot.isExpired
                maximumWidth: texts.available
                emoji: view.snapshot ? view.snapshot.emoji : ""
                text: view.snapshot ? view.snapshot.statusText : ""
                font: WidgetFonts.title2
            }
            Text {
                id: elapsed
                visible: view.snapshot !== null && !view.snapshot.isExpired && view.showUpdatedTime
                textFormat: Text.PlainText
                font: WidgetFonts.footnote
                color: ThemeColor.secondaryText
            }
            Text {
                visible: view.snapshot !== null && view.snapshot.isExpired
                text: qsTrId("widget.no_status")
                textFormat: Text.PlainText
                font: WidgetFonts.body
                color: ThemeColor.secondaryText
            }
        }
    }
    EmptyStateView {
        visible: view.snapshot === null
        anchors.verticalCenter: parent.verticalCenter
        x: 16
        width: view.contentWidth
        textAlignment: Text.AlignLeft
    }
}
