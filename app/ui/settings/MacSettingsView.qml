import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Settings

// The settings form. Whatever holds it (the main window's sheet or the
// settings window) closes it on `dismissRequested`: the close button, and
// the end of a sign-out.
Rectangle {
    id: view
    signal dismissRequested()

    color: ThemeColor.windowBackground
    implicitWidth: 380
    implicitHeight: 380

    SettingsPresenter {
        id: presenter
        onDismissRequested: view.dismissRequested()
    }

    Item {
        id: header
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: 44

        PlainButton {
            objectName: "closeButton"
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: qsTrId("action.close")
            onClicked: view.dismissRequested()
        }
        Text {
            anchors.centerIn: parent
            width: parent.width - 180
            text: qsTrId("tab.settings")
            font: ThemeFont.headline
            color: ThemeColor.primaryText
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        PlainButton {
            objectName: "quitButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            text: qsTrId("menubar.quit")
            textColor: ThemeColor.secondaryText
            onClicked: Qt.quit()
        }
    }

    Flickable {
        id: scroller
        anchors.top: header.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentHeight: form.implicitHeight + 16
        boundsBehavior: Flickable.StopAtBounds
        clip: true
        ScrollBar.vertical: ScrollBar { policy: scroller.contentHeight > scroller.height ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }

        ColumnLayout {
            id: form
            x: 16
            width: scroller.width - 32
            spacing: 14

            SettingsGroup {
                visible: presenter.showsNotifications
                Layout.fillWidth: true
                title: qsTrId("settings.notifications")

                SettingsSwitchRow {
                    objectName: "partnerStatusSwitch"
                    text: qsTrId("settings.notifications.partner_status_changed")
                    on: presenter.notifyPartnerStatusChanged
                    onToggledTo: value => presenter.notifyPartnerStatusChanged = value
                }
                SettingsSwitchRow {
                    objectName: "statusReminderSwitch"
                    separatorAbove: true
                    text: qsTrId("settings.notifications.status_reminder")
                    on: presenter.notifyStatusReminder
                    onToggledTo: value => presenter.notifyStatusReminder = value
                }
                SettingsSwitchRow {
                    objectName: "automationStatusSwitch"
                    separatorAbove: true
                    text: qsTrId("settings.notifications.automation_status_changed")
                    on: presenter.notifyAutomationStatusChanged
                    onToggledTo: value => presenter.notifyAutomationStatusChanged = value
                }
            }

            SettingsGroup {
                Layout.fillWidth: true
                title: qsTrId("settings.general")

                SettingsSwitchRow {
                    objectName: "launchAtLoginSwitch"
                    text: qsTrId("settings.launch_at_login")
                    on: presenter.launchAtLogin
                    onToggledTo: value => presenter.launchAtLogin = value
                }
                SettingsSwitchRow {
                    objectName: "menuBarIconSwitch"
                    separatorAbove: true
                    text: qsTrId("settings.show_menu_bar_icon")
                    on: presenter.menuBarIconEnabled
                    onToggledTo: value => presenter.menuBarIconEnabled = value
                }
                RowLayout {
                    Layout.fillWidth: true
                    Layout.topMargin: 6
                    Layout.bottomMargin: 6
                    spacing: 12
                    Text {
                        id: languageLabel
                        Layout.fillWidth: true
                        text: qsTrId("settings.language")
                        font: ThemeFont.subheadline
                        color: ThemeColor.primaryText
                        elide: Text.ElideRight
                        Accessible.ignored: true
                    }
                    LanguagePicker {
                        objectName: "languagePicker"
                        accessibleName: languageLabel.text
                        model: presenter.languageOptions
                        currentIndex: presenter.languageIndex
                        onActivated: index => {
                            presenter.languageIndex = index
                            currentIndex = Qt.binding(() => presenter.languageIndex)
                        }
                    }
                }
            }

            PlainLabel {
                visible: text !== ""
                Layout.fillWidth: true
                Layout.leftMargin: 12
                Layout.rightMargin: 12
                text: presenter.errorMessage
                font: ThemeFont.footnote
                color: ThemeColor.warning
                wrapMode: Text.Wrap
                maximumLineCount: 4
                Accessible.role: Accessible.AlertMessage
            }

            SettingsGroup {
                visible: presenter.showsSignOut
                Layout.fillWidth: true

                Button {
                    id: signOutButton
                    objectName: "signOutButton"
                    Layout.fillWidth: true
                    text: qsTrId("settings.sign_out")
                    focusPolicy: Qt.StrongFocus
                    topPadding: 8
                    bottomPadding: 8
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    Accessible.ignored: !visible
                    onClicked: presenter.signOut()
                    Keys.onReturnPressed: clicked()
                    Keys.onEnterPressed: clicked()

                    contentItem: Item {
                        implicitHeight: Math.max(signOutLabel.implicitHeight, 16)
                        Text {
                            id: signOutLabel
                            anchors.centerIn: parent
                            visible: !presenter.isSigningOut
                            text: signOutButton.text
                            font: ThemeFont.subheadline
                            color: ThemeColor.warning
                            textFormat: Text.PlainText
                        }
                        Spinner {
                            anchors.centerIn: parent
                            visible: presenter.isSigningOut
                        }
                    }
                    background: Rectangle {
                        color: signOutButton.down ? Qt.rgba(ThemeColor.warning.r, ThemeColor.warning.g, ThemeColor.warning.b, 0.12) : "transparent"
                        radius: 8
                        FocusRing { control: signOutButton; cornerRadius: 8 }
                    }
                }
            }
        }
    }
}
