import QtQuick
import Vorlie.Theme
import Vorlie.Avatar

// A person's avatar: the round picture (a placeholder while it loads or when
// it fails), an optional breathing movement and an optional mood badge at
// the top right. The frame is 1.15 × size wide so the badge can stick out.
Item {
    id: avatar
    property url source
    property string visualState: "neutral"
    property bool showsMoodOverlay: false
    property bool animatesBreathing: false
    property real size: 44

    readonly property bool windowShown: Window.window !== null && Window.window.visible
    property real breath: 0

    implicitWidth: size * 1.15
    implicitHeight: size
    Accessible.role: Accessible.Graphic
    Accessible.name: qsTrId("avatar.accessibility_label")
    Accessible.ignored: !visible

    Item {
        id: picture
        width: avatar.size
        height: avatar.size
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        transform: Translate { y: -avatar.breath * 0.015 * avatar.size }

        AvatarPlaceholder {
            size: avatar.size
            opacity: image.status === RoundImage.Ready ? 0 : 1
            Behavior on opacity { NumberAnimation { duration: 250; easing.type: Easing.OutCubic } }
        }
        Spinner {
            anchors.centerIn: parent
            size: Math.max(10, avatar.size * 0.22)
            visible: image.status === RoundImage.Loading
        }
        RoundImage {
            id: image
            anchors.fill: parent
            source: avatar.source
            opacity: status === RoundImage.Ready ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 250; easing.type: Easing.OutCubic } }
        }
    }

    Loader {
        active: avatar.showsMoodOverlay
        anchors.top: picture.top
        anchors.right: picture.right
        anchors.topMargin: -0.02 * avatar.size
        anchors.rightMargin: -0.06 * avatar.size
        sourceComponent: AvatarMoodOverlay {
            visualState: avatar.visualState
            size: 0.4 * avatar.size
        }
    }

    SequentialAnimation on breath {
        running: avatar.animatesBreathing && !Motion.reduceMotion && avatar.windowShown
        loops: Animation.Infinite
        onRunningChanged: if (!running) avatar.breath = 0
        NumberAnimation { from: 0; to: 1; duration: 2400; easing.type: Easing.InOutQuad }
        NumberAnimation { from: 1; to: 0; duration: 2400; easing.type: Easing.InOutQuad }
    }
}
