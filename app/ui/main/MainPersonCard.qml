import QtQuick
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Avatar
import Vorlie.Presentation

// The main person, large: avatar with mood badge, name, current status and
// how long ago it was set, and the state of the connection to them. A new
// status springs in.
ColumnLayout {
    id: card
    required property HomePresenter presenter
    readonly property string statusId: presenter.statusId

    spacing: 12
    transform: Scale {
        origin.x: card.width / 2
        origin.y: card.height / 2
        xScale: card.pop
        yScale: card.pop
    }
    property real pop: 1
    onStatusIdChanged: if (!Motion.reduceMotion) springIn.restart()
    SpringAnimation { id: springIn; target: card; property: "pop"; from: 0.94; to: 1; spring: 4; damping: 0.3; epsilon: 0.002 }

    AvatarView {
        Layout.alignment: Qt.AlignHCenter
        size: 92
        source: card.presenter.cardAvatarURL
        visualState: card.presenter.mainVisualState
        showsMoodOverlay: true
        animatesBreathing: true
    }
    PlainLabel {
        Layout.fillWidth: true
        horizontalAlignment: Text.AlignHCenter
        text: card.presenter.mainPersonName
        font: ThemeFont.display
    }
    ColumnLayout {
        visible: card.presenter.showsStatus
        Layout.fillWidth: true
        spacing: 4
        // The text gives way to the emoji when both do not fit.
        Item {
            Layout.fillWidth: true
            implicitHeight: statusRow.implicitHeight
            Row {
                id: statusRow
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 4
                PlainLabel {
                    width: Math.min(implicitWidth, statusRow.parent.width - (emoji.visible ? emoji.width + 4 : 0))
                    text: card.presenter.statusText
                    font: ThemeFont.title
                }
                EmojiText {
                    id: emoji
                    visible: text !== ""
                    anchors.verticalCenter: parent.verticalCenter
                    text: card.presenter.statusEmoji
                    font.pixelSize: ThemeFont.title.pixelSize
                }
            }
        }
        PlainLabel {
            visible: text !== ""
            Layout.fillWidth: true
            horizontalAlignment: Text.AlignHCenter
            text: card.presenter.updatedLabel
            font: ThemeFont.footnote
            color: ThemeColor.secondaryText
        }
    }
    Text {
        visible: !card.presenter.showsStatus
        Layout.alignment: Qt.AlignHCenter
        text: qsTrId("home.no_status")
        font: ThemeFont.title
        color: ThemeColor.secondaryText
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        Accessible.ignored: !visible
    }
    RowLayout {
        Layout.alignment: Qt.AlignHCenter
        spacing: 4
        Rectangle {
            width: 6
            height: 6
            radius: 3
            color: card.presenter.connectionAccepted ? ThemeColor.positive : ThemeColor.warning
        }
        Text {
            text: card.presenter.connectionText
            font: ThemeFont.footnote
            color: ThemeColor.secondaryText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Accessible.ignored: !visible
        }
    }
}
