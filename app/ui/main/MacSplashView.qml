import QtQuick
import Vorlie.Theme

// Shown for the moment it takes to learn whether someone is signed in.
Rectangle {
    color: ThemeColor.windowBackground

    Column {
        anchors.centerIn: parent
        spacing: 24
        Logo { size: 72 }
        Spinner { anchors.horizontalCenter: parent.horizontalCenter }
    }
}
