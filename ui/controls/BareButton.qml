import QtQuick
import QtQuick.Templates as T

// A button with no style's look, for our buttons to draw their own: a
// style's plug-in would otherwise load before a window's first frame. Its
// size follows its content and background, as a styled button's does.
T.Button {
    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
}
