import QtQuick
import Vorlie.Theme
import Vorlie.Widgets

// A secondary line worded when it is drawn, by the snapshot's clock: when a
// snapshot arrives, when the widget comes into view, and once a minute while
// it is on screen; never while it is hidden.
Text {
    id: line
    property QtObject snapshot
    // Words the line from a snapshot; never called without one.
    property var wording: function (snapshot) { return "" }

    function draw() { text = snapshot ? wording(snapshot) : "" }
    onSnapshotChanged: draw()
    Component.onCompleted: draw()

    textFormat: Text.PlainText
    font: WidgetFonts.footnote
    color: ThemeColor.secondaryText

    WordingClock {
        inView: line.visible && line.Window.visibility !== Window.Hidden
        onWordingDue: line.draw()
    }
}
