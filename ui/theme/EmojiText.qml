import QtQuick
import Vorlie.Theme

// An emoji in colour: plain text in the colour emoji face.
Text {
    textFormat: Text.PlainText
    font.family: ThemeFont.emojiFamily
    Accessible.ignored: true
}
