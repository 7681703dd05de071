import QtQuick

// A button with no look of its own, for our buttons to draw theirs: built on
// a plain item, so no Quick Controls module loads before a window's first
// frame. A pointer, Space, Return, Enter or a screen reader's press action
// clicks it; it takes the focus from Tab and from a press, and shows the
// focus ring only for focus that came from the keyboard.
Item {
    id: control

    property string text
    property font font
    property real padding: 0
    property real horizontalPadding: padding
    property real verticalPadding: padding
    property real leftPadding: horizontalPadding
    property real rightPadding: horizontalPadding
    property real topPadding: verticalPadding
    property real bottomPadding: verticalPadding
    // Laid over the padded inside, and under everything, the whole button.
    property Item contentItem
    property Item background

    readonly property bool hovered: pointer.containsMouse
    readonly property bool down: pointer.pressed || spaceHeld
    readonly property bool visualFocus: activeFocus && !focusFromPointer

    property bool spaceHeld: false
    property bool focusFromPointer: false

    signal clicked()

    implicitWidth: Math.max(background ? background.implicitWidth : 0,
                            (contentItem ? contentItem.implicitWidth : 0) + leftPadding + rightPadding)
    implicitHeight: Math.max(background ? background.implicitHeight : 0,
                             (contentItem ? contentItem.implicitHeight : 0) + topPadding + bottomPadding)
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.focusable: true
    Accessible.ignored: !visible
    Accessible.onPressAction: if (enabled) clicked()

    onContentItemChanged: place()
    onBackgroundChanged: place()
    Component.onCompleted: place()
    onActiveFocusChanged: if (!activeFocus) { focusFromPointer = false; spaceHeld = false }

    function place() {
        if (background) {
            background.parent = control
            background.z = -1
            background.anchors.fill = control
        }
        if (contentItem) {
            contentItem.parent = inside
            contentItem.anchors.fill = inside
        }
    }

    Keys.onPressed: event => {
        if (event.key === Qt.Key_Space) {
            if (!event.isAutoRepeat)
                spaceHeld = true
            event.accepted = true
        } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            event.accepted = true
            clicked()
        }
    }
    Keys.onReleased: event => {
        if (event.key === Qt.Key_Space && !event.isAutoRepeat && spaceHeld) {
            spaceHeld = false
            event.accepted = true
            clicked()
        }
    }

    Item {
        id: inside
        anchors.fill: parent
        anchors.leftMargin: control.leftPadding
        anchors.rightMargin: control.rightPadding
        anchors.topMargin: control.topPadding
        anchors.bottomMargin: control.bottomPadding
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        onPressed: {
            control.focusFromPointer = true
            control.forceActiveFocus(Qt.MouseFocusReason)
        }
        onClicked: control.clicked()
    }
}
