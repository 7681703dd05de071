import QtQuick
import Vorlie.Theme

// Every text that comes from the service or from other people goes through
// this label: never markup, never a link, one line cut at the end unless the
// caller allows wrapping.
Text {
    textFormat: Text.PlainText
    elide: Text.ElideRight
    maximumLineCount: 1
    color: ThemeColor.primaryText
    font: ThemeFont.body
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Accessible.ignored: !visible
}
