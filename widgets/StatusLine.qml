import QtQuick
import Vorlie.Theme

// The status's emoji (when there is one) beside its text, on one line that
// never grows wider than `maximumWidth`.
Row {
    id: line
    property string emoji
    property string text
    property font font
    property color color: ThemeColor.primaryText
    property real maximumWidth: 100
    property real emojiGap: 4

    spacing: emoji !== "" ? emojiGap : 0

    EmojiText {
        id: emojiText
        visible: line.emoji !== ""
        text: line.emoji
        font.pixelSize: line.font.pixelSize
        anchors.verticalCenter: parent.verticalCenter
    }
    PlainLabel {
        text: line.text
        font: line.font
        color: line.color
        width: Math.min(implicitWidth, line.maximumWidth - (line.emoji !== "" ? line.emojiGap + emojiText.width : 0))
        anchors.verticalCenter: parent.verticalCenter
    }
}
