import QtQuick
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Picker

// One status to pick: emoji, text and a star for a favourite. A click
// publishes it; a long press (half a second, at most 10 points of travel),
// Shift+Return or the menu key marks or unmarks it as a favourite.
FocusScope {
    id: chip
    property string text
    property string emoji
    property bool isFavorite: false
    signal tapped()
    signal longPressed()

    implicitWidth: label.implicitWidth + 24
    implicitHeight: label.implicitHeight + 16
    activeFocusOnTab: true

    Accessible.role: Accessible.Button
    Accessible.name: isFavorite ? text + ", " + qsTrId("status_picker.favorite") : text
    Accessible.description: qsTrId("status_picker.toggle_favorite")
    Accessible.ignored: !visible
    Accessible.onPressAction: chip.tapped()

    Keys.onPressed: (event) => {
        const favoriteKey = event.key === Qt.Key_Menu
            || ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ShiftModifier))
        if (favoriteKey) {
            chip.longPressed()
            event.accepted = true
        } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space) {
            chip.tapped()
            event.accepted = true
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: 10
        color: tap.pressed ? Qt.darker(ThemeColor.cardBackground, ThemeColor.dark ? 0.8 : 1.08)
             : hover.hovered ? Qt.darker(ThemeColor.cardBackground, ThemeColor.dark ? 0.88 : 1.04)
             : ThemeColor.cardBackground
        border.width: 1
        border.color: chip.isFavorite ? Qt.rgba(ThemeColor.yellow.r, ThemeColor.yellow.g, ThemeColor.yellow.b, 0.7)
                                      : ThemeColor.separator
    }
    FocusRing { control: chip; cornerRadius: 10; visible: chip.activeFocus }

    Row {
        id: label
        anchors.centerIn: parent
        spacing: 4
        EmojiText {
            visible: chip.emoji !== ""
            text: chip.emoji
            font.pixelSize: ThemeFont.body.pixelSize
            anchors.verticalCenter: parent.verticalCenter
        }
        PlainLabel {
            text: chip.text
            font: ThemeFont.body
            anchors.verticalCenter: parent.verticalCenter
        }
        SymbolIcon {
            visible: chip.isFavorite
            name: "star.fill"
            pointSize: 11
            color: ThemeColor.yellow
            anchors.verticalCenter: parent.verticalCenter
        }
    }

    HoverHandler { id: hover }
    TapHandler {
        id: tap
        longPressThreshold: 0.5
        dragThreshold: 10
        gesturePolicy: TapHandler.ReleaseWithinBounds
        onTapped: { chip.forceActiveFocus(); chip.tapped() }
        onLongPressed: chip.longPressed()
    }
}
