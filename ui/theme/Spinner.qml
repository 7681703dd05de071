import QtQuick
import QtQuick.Shapes
import Vorlie.Theme

// A small indeterminate progress indicator; it turns only while shown.
Item {
    id: spinner
    property real size: 14
    property color color: ThemeColor.secondaryText
    // What it waits for, said to screen readers while it shows; one without
    // it stays silent.
    property string accessibleName
    readonly property bool spinning: visible && Window.window !== null && Window.window.visible

    implicitWidth: size
    implicitHeight: size
    Accessible.role: Accessible.Indicator
    Accessible.name: accessibleName
    Accessible.ignored: accessibleName === "" || !visible

    Shape {
        id: arc
        anchors.fill: parent
        ShapePath {
            strokeColor: spinner.color
            strokeWidth: Math.max(1.5, spinner.size / 8)
            fillColor: "transparent"
            capStyle: ShapePath.RoundCap
            PathAngleArc {
                centerX: spinner.size / 2
                centerY: spinner.size / 2
                radiusX: spinner.size / 2 - Math.max(1.5, spinner.size / 8)
                radiusY: radiusX
                startAngle: 0
                sweepAngle: 270
            }
        }
        // Not an Animator: a hidden window's render loop kept one ticking 60
        // times a second after `running` turned false.
        RotationAnimation on rotation {
            from: 0
            to: 360
            duration: 900
            loops: Animation.Infinite
            running: spinner.spinning
        }
    }
}
