import QtQuick
import QtQuick.Templates as T
import Vorlie.Theme

// A modal sheet over its window showing the view at `content`: shown while
// `presented`, closed by Escape or by the view's dismissRequested();
// `dismissed` tells the owner to clear its flag. Its look is all its own, so
// no style's plug-in loads with the window.
T.Popup {
    id: sheet
    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, contentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, contentHeight + topPadding + bottomPadding)
    property bool presented: false
    property url content
    readonly property alias view: contentLoader.item
    signal dismissed()

    anchors.centerIn: parent
    modal: true
    dim: true
    focus: true
    // A rim of the sheet's own colour, so its rounded corners show around any content.
    padding: 6
    closePolicy: T.Popup.CloseOnEscape
    visible: presented
    onClosed: {
        // Keyboard users carry on in the window the sheet came from.
        if (parent)
            parent.forceActiveFocus()
        if (presented)
            dismissed()
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, ThemeColor.dark ? 0.5 : 0.28)
    }
    background: Rectangle {
        radius: 12
        color: ThemeColor.windowBackground
        border.width: 1
        border.color: ThemeColor.separator
    }
    // A popup runs its transitions whatever their `enabled` says: with
    // reduced motion it gets none.
    enter: Motion.reduceMotion ? null : fadeIn
    exit: Motion.reduceMotion ? null : fadeOut

    Transition {
        id: fadeIn
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 180; easing.type: Easing.OutCubic }
        NumberAnimation { property: "scale"; from: 0.96; to: 1; duration: 180; easing.type: Easing.OutCubic }
    }
    Transition {
        id: fadeOut
        NumberAnimation { property: "opacity"; from: 1; to: 0; duration: 140; easing.type: Easing.InCubic }
    }

    // Named by address, the view loads its types and controls when opened,
    // and goes when closed.
    Loader {
        id: contentLoader
        focus: true
        source: sheet.presented ? sheet.content : ""
    }
    Connections {
        target: contentLoader.item
        function onDismissRequested() { sheet.dismissed() }
    }
}
