import QtQuick
import Vorlie.Theme

// A symbol by name, drawn from the icon font.
Text {
    id: icon
    property string name
    property real pointSize: 14

    text: Symbols.glyph(name)
    font.family: Symbols.family
    font.pixelSize: pointSize
    textFormat: Text.PlainText
    verticalAlignment: Text.AlignVCenter
    horizontalAlignment: Text.AlignHCenter
    color: ThemeColor.primaryText
    Accessible.ignored: true
}
