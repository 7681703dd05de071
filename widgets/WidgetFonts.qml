pragma Singleton
import QtQuick
import Vorlie.Theme

// The widget's text styles, all in the rounded face.
QtObject {
    readonly property font largeTitle: Qt.font({ family: ThemeFont.roundedFamily, pixelSize: 26, weight: Font.Bold })
    readonly property font title2: Qt.font({ family: ThemeFont.roundedFamily, pixelSize: 18, weight: Font.DemiBold })
    readonly property font headline: Qt.font({ family: ThemeFont.roundedFamily, pixelSize: 15, weight: Font.DemiBold })
    readonly property font body: Qt.font({ family: ThemeFont.roundedFamily, pixelSize: 14, weight: Font.Normal })
    readonly property font footnote: Qt.font({ family: ThemeFont.roundedFamily, pixelSize: 12, weight: Font.Normal })
    // The empty state's symbol.
    readonly property real symbolSize: 30
}
