import QtQuick
import QtQuick.Shapes

// The product's logo, drawn sharp at any size from the shapes of the app
// icon's SVG (a speech bubble holding a heart): no SVG reader loads for a
// mark this small. Drawn through a multisampled layer, so its curves are
// smooth; a test holds it to the icon.
Item {
    id: logo
    property real size: 16
    implicitWidth: size
    implicitHeight: size
    Accessible.ignored: true
    layer.enabled: true
    layer.samples: 4
    layer.smooth: true

    Rectangle {
        x: 32 * logo.size / 512
        y: 36 * logo.size / 512
        width: 448 * logo.size / 512
        height: 392 * logo.size / 512
        radius: 104 * logo.size / 512
        color: "#24332A"
    }
    Shape {
        width: 512
        height: 512
        scale: logo.size / 512
        transformOrigin: Item.TopLeft
        antialiasing: true

        ShapePath {
            strokeWidth: -1
            fillColor: "#24332A"
            PathSvg { path: "M 112 396 L 92 482 Q 88 500 104 491 L 244 412 Z" }
        }
        ShapePath {
            strokeWidth: -1
            fillColor: "#F2785F"
            PathSvg { path: "M 256 352 C 150 284 120 226 132 184 C 144 138 208 118 256 178 C 304 118 368 138 380 184 C 392 226 362 284 256 352 Z" }
        }
    }
}
