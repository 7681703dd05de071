import QtQuick
import Vorlie.Theme
import Vorlie.Avatar

// The mood badge: a tinted circle with the mood's symbol in white, pulsing
// gently while its window is shown. Moods without a badge take no space.
Item {
    id: overlay
    property string visualState: "neutral"
    property real size: 20

    readonly property string symbolName: MoodBadge.symbol(visualState)
    readonly property color tint: ThemeColor[MoodBadge.tint(visualState)]
    readonly property bool pulsing: symbolName !== "" && !Motion.reduceMotion
                                    && Window.window !== null && Window.window.visible

    visible: symbolName !== ""
    // A new mood springs in.
    property real pop: 1
    onVisualStateChanged: if (!Motion.reduceMotion) popIn.restart()
    SpringAnimation { id: popIn; target: overlay; property: "pop"; from: 0.6; to: 1; spring: 5; damping: 0.35; epsilon: 0.005 }
    transform: Scale { origin.x: overlay.width / 2; origin.y: overlay.height / 2; xScale: overlay.pop; yScale: overlay.pop }
    implicitWidth: visible ? size * 0.42 + 2 * size * 0.16 : 0
    implicitHeight: implicitWidth
    Accessible.ignored: true

    Rectangle {
        id: badge
        anchors.fill: parent
        radius: width / 2
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.lighter(overlay.tint, 1.25) }
            GradientStop { position: 1; color: overlay.tint }
        }
        border.color: ThemeColor.windowBackground
        border.width: overlay.size * 0.05

        Text {
            anchors.centerIn: parent
            text: Symbols.glyph(overlay.symbolName)
            font.family: Symbols.family
            font.pixelSize: overlay.size * 0.42
            font.weight: Font.DemiBold
            color: "white"
            textFormat: Text.PlainText
        }

        SequentialAnimation on scale {
            running: overlay.pulsing
            loops: Animation.Infinite
            onRunningChanged: if (!running) badge.scale = 1
            NumberAnimation { from: 1; to: 1.08; duration: 1100; easing.type: Easing.InOutQuad }
            NumberAnimation { from: 1.08; to: 1; duration: 1100; easing.type: Easing.InOutQuad }
        }
    }
}
