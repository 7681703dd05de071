import QtQuick
import Vorlie.Theme
import Vorlie.Panel
import Vorlie.Avatar
import Vorlie.Controls
import Vorlie.Presentation

// The panel under the tray item: the main person at a glance, one's own
// status, the way to change it, and the way to the main window, the
// settings or out.
// It shows whatever the session holds, signed in or not.
FocusScope {
    id: panel
    property alias presenter: home
    signal statusPickerRequested()
    signal openMainWindowRequested()
    signal settingsRequested()
    signal quitRequested()
    // Whether the panel is on screen; a view on a layer of the desktop is
    // drawn without a window of its own being shown.
    property bool shown: Window.window !== null && Window.window.visible

    function showSavedToast() { toast.show() }

    width: 280
    implicitWidth: 280
    implicitHeight: stack.implicitHeight + 32

    HomePresenter {
        id: home
        active: panel.shown
        // Every showing of the panel joins or starts one sync.
        onActiveChanged: if (active) refresh()
    }

    Rectangle {
        anchors.fill: parent
        color: ThemeColor.windowBackground
    }

    Column {
        id: stack
        x: 16
        y: 16
        width: parent.width - 32
        spacing: 12

        Item {
            width: parent.width
            height: 18
            Row {
                spacing: 4
                anchors.verticalCenter: parent.verticalCenter
                Logo { size: 16; anchors.verticalCenter: parent.verticalCenter }
                Text {
                    text: qsTrId("vorlie")
                    font: ThemeFont.footnote
                    color: ThemeColor.brandText
                    anchors.verticalCenter: parent.verticalCenter
                    Accessible.ignored: true
                }
            }
            Spinner {
                visible: home.isSyncing
                accessibleName: qsTrId("home.syncing")
                size: 12
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
            }
        }
        PlainLabel {
            objectName: "offlineLine"
            visible: text !== ""
            width: Math.min(implicitWidth, parent.width)
            text: home.offlineText
            font: ThemeFont.footnote
            color: ThemeColor.secondaryText
        }

        Row {
            visible: home.hasMainPerson
            width: parent.width
            spacing: 12
            AvatarView {
                id: avatar
                size: 44
                source: home.panelAvatarURL
                visualState: home.mainVisualState
                anchors.verticalCenter: parent.verticalCenter
            }
            Column {
                width: parent.width - avatar.width - parent.spacing
                spacing: 2
                anchors.verticalCenter: parent.verticalCenter
                PlainLabel {
                    width: parent.width
                    text: home.mainPersonName
                    font: ThemeFont.headline
                }
                Column {
                    visible: home.showsStatus
                    width: parent.width
                    spacing: 1
                    Row {
                        width: parent.width
                        spacing: 4
                        PlainLabel {
                            width: Math.min(implicitWidth, parent.width - (emoji.visible ? emoji.implicitWidth + parent.spacing : 0))
                            text: home.statusText
                            font: ThemeFont.subheadline
                        }
                        EmojiText {
                            id: emoji
                            visible: home.statusEmoji !== ""
                            text: home.statusEmoji
                            font.pixelSize: ThemeFont.subheadline.pixelSize
                        }
                    }
                    Text {
                        visible: home.updatedLabel !== ""
                        text: home.updatedLabel
                        font: ThemeFont.footnote
                        color: ThemeColor.secondaryText
                        textFormat: Text.PlainText
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        Accessible.ignored: !visible
                    }
                }
                Text {
                    visible: !home.showsStatus
                    text: qsTrId("home.no_status")
                    font: ThemeFont.subheadline
                    color: ThemeColor.secondaryText
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    Accessible.ignored: !visible
                }
            }
        }

        Text {
            visible: !home.hasMainPerson
            width: parent.width
            text: qsTrId("home.no_main_person.subtitle")
            font: ThemeFont.footnote
            color: ThemeColor.secondaryText
            wrapMode: Text.WordWrap
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Accessible.ignored: !visible
        }

        Divider { width: parent.width }

        Row {
            width: parent.width
            spacing: 4
            Text {
                id: prefix
                text: qsTrId("menubar.my_status_prefix")
                font: ThemeFont.footnote
                color: ThemeColor.secondaryText
                Accessible.ignored: true
            }
            PlainLabel {
                width: parent.width - prefix.implicitWidth - parent.spacing
                text: home.ownStatusText
                font: ThemeFont.footnote
                Accessible.name: prefix.text + " " + text
            }
        }

        ProminentButton {
            id: changeStatus
            width: parent.width
            topPadding: 12
            bottomPadding: 12
            text: qsTrId("home.change_my_status")
            focus: true
            onClicked: panel.statusPickerRequested()
        }

        Divider { width: parent.width }

        Item {
            width: parent.width
            height: openButton.implicitHeight
            Row {
                PlainButton {
                    id: openButton
                    text: qsTrId("menubar.open_vorlie")
                    onClicked: panel.openMainWindowRequested()
                }
                PlainButton {
                    //% "Settings…"
                    text: qsTrId("menubar.settings")
                    onClicked: panel.settingsRequested()
                }
            }
            PlainButton {
                text: qsTrId("menubar.quit")
                textColor: ThemeColor.secondaryText
                anchors.right: parent.right
                onClicked: panel.quitRequested()
            }
        }
    }

    Toast {
        id: toast
        message: qsTrId("home.status_saved_toast")
        systemImage: "checkmark.circle.fill"
    }
}
