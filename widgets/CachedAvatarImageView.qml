import QtQuick
import Vorlie.Avatar
import Vorlie.Widgets

// The snapshot's avatar picture with the mood badge at its top right, in a frame
// a little wider than the picture so the badge can stick out beside it.
// Missing or broken picture bytes show the placeholder circle.
Item {
    id: avatar
    property WidgetSnapshotObject snapshot
    property string visualState: "neutral"
    property bool showsMoodOverlay: true
    property real size: 56

    implicitWidth: size * 1.15
    implicitHeight: size

    DecodedPicture {
        id: picture
        width: avatar.size
        height: avatar.size
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        snapshot: avatar.snapshot
    }
    AvatarPlaceholder {
        visible: !picture.decoded
        size: avatar.size
        anchors.fill: picture
    }
    AvatarMoodOverlay {
        visible: avatar.showsMoodOverlay && symbolName !== ""
        visualState: avatar.visualState
        size: avatar.size * 0.4
        width: implicitWidth
        height: implicitHeight
        x: picture.x + picture.width - width + avatar.size * 0.06
        y: picture.y - avatar.size * 0.02
    }
}
