import QtQuick
import Vorlie.Theme
import Vorlie.Widgets

// The medium widget: the avatar beside the name, the status and how long
// ago it was set, and whether the application was offline.
Item {
    id: view
    property QtObject snapshot
    property bool showUpdatedTime: true
    readonly property real contentWidth: width - 32

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
            ClockText {
                visible: view.snapshot !== null && !view.snapshot.isExpired && view.showUpdatedTime
                snapshot: view.snapshot
                wording: snapshot => snapshot.elapsedText()
            }
            Text {
                visible: view.snapshot !== null && view.snapshot.isExpired
                text: qsTrId("widget.no_status")
                textFormat: Text.PlainText
                font: WidgetFonts.body
                color: ThemeColor.secondaryText
            }
            ClockText {
                visible: text !== ""
                width: Math.min(implicitWidth, texts.available)
                elide: Text.ElideRight
                snapshot: view.snapshot
                wording: snapshot => snapshot.offlineText()
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
