import QtQuick
import Vorlie.Theme
import Vorlie.Widgets

// Shown while no main person is stored.
Column {
    id: empty
    property int textAlignment: Text.AlignHCenter
    spacing: 4

    SymbolIcon {
        anchors.horizontalCenter: empty.textAlignment === Text.AlignHCenter ? parent.horizontalCenter : undefined
        name: "person.crop.circle.badge.questionmark"
        pointSize: WidgetFonts.symbolSize
        color: ThemeColor.secondaryText
    }
    Text {
        width: empty.width
        text: qsTrId("widget.no_main_person")
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        horizontalAlignment: empty.textAlignment
        font: WidgetFonts.footnote
        color: ThemeColor.secondaryText
    }
}
