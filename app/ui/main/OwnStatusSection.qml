import QtQuick
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Avatar
import Vorlie.Presentation

// One's own status in a line, and the button that opens the picker.
ColumnLayout {
    id: section
    required property HomePresenter presenter
    signal changeStatusRequested()

    spacing: 12

    RowLayout {
        Layout.fillWidth: true
        spacing: 12
        AvatarView {
            objectName: "ownAvatar"
            visible: section.presenter.hasCurrentUser
            size: 36
            source: section.presenter.ownAvatarURL
            visualState: section.presenter.ownVisualState
            animatesBreathing: true
        }
        ColumnLayout {
            Layout.fillWidth: true
            spacing: 2
            Text {
                text: qsTrId("home.you")
                font: ThemeFont.footnote
                color: ThemeColor.secondaryText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            PlainLabel {
                Layout.fillWidth: true
                text: section.presenter.ownStatusText
                font: ThemeFont.subheadline
            }
        }
    }
    ProminentButton {
        objectName: "changeStatusButton"
        Layout.fillWidth: true
        text: qsTrId("home.change_my_status")
        topPadding: 12
        bottomPadding: 12
        onClicked: section.changeStatusRequested()
    }
}
