import QtQuick
import Vorlie.Theme
import Vorlie.Widgets

// The small widget: the avatar above the name and the status, centred, and
// whether the application was offline.
Item {
    id: view
    property QtObject snapshot
    readonly property real contentWidth: width - 24

    Column {
        visible: view.snapshot !== null
        anchors.centerIn: parent
        width: view.contentWidth
        spacing: 8

        CachedAvatarImageView {
            anchors.horizontalCenter: parent.horizontalCenter
            size: 56
            snapshot: view.snapshot
            visualState: view.snapshot ? view.snapshot.moodShown : "neutral"
        }
        PlainLabel {
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, view.contentWidth)
            text: view.snapshot ? view.snapshot.displayName : ""
            font: WidgetFonts.headline
        }
        StatusLine {
            visible: view.snapshot !== null && !view.snapshot.isExpired
            anchors.horizontalCenter: parent.horizontalCenter
            maximumWidth: view.contentWidth
            emojiGap: 2
            emoji: view.snapshot ? view.snapshot.emoji : ""
            text: view.snapshot ? view.snapshot.statusText : ""
            font: WidgetFonts.footnote
        }
        Text {
            visible: view.snapshot !== null && view.snapshot.isExpired
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTrId("widget.no_status")
            textFormat: Text.PlainText
            font: WidgetFonts.footnote
            color: ThemeColor.secondaryText
        }
        ClockText {
            visible: text !== ""
            width: view.contentWidth
            // Two short lines rather than a cut one in this narrow size.
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            horizontalAlignment: Text.AlignHCenter
            snapshot: view.snapshot
            wording: snapshot => snapshot.offlineText()
        }
    }
    EmptyStateView {
        visible: view.snapshot === null
        anchors.centerIn: parent
        width: view.contentWidth
    }
}
