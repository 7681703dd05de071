import QtQuick
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Presentation
import Vorlie.Main

// Signed in: the toolbar, the main person's card (or the empty state), one's
// own status with the change button, and the banner of a failed sync. The
// picker and the settings open as sheets; a saved status shows the toast.
Rectangle {
    id: view
    // Why this session will not outlast a restart; empty when it will.
    property string keyringMessage
    color: ThemeColor.windowBackground

    readonly property bool windowShown: Window.window !== null && Window.window.visible

    HomePresenter {
        id: home
        active: view.windowShown
    }
    // One refresh each time the content is shown; it joins any sync already running.
    onWindowShownChanged: if (windowShown) home.refresh()
    Component.onCompleted: home.refresh()

    Item {
        id: toolbar
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: 44

        Logo {
            size: 18
            anchors.left: parent.left
            anchors.leftMargin: 16
            anchors.verticalCenter: parent.verticalCenter
        }
        Row {
            anchors.centerIn: parent
            spacing: 6
            Spinner {
                visible: home.isSyncing
                anchors.verticalCenter: parent.verticalCenter
                accessibleName: qsTrId("home.syncing")
            }
            PlainLabel {
                objectName: "offlineLine"
                visible: text !== ""
                width: Math.min(implicitWidth, toolbar.width - 120)
                anchors.verticalCenter: parent.verticalCenter
                text: home.offlineText
                font: ThemeFont.footnote
                color: ThemeColor.secondaryText
            }
        }
        SymbolButton {
            objectName: "quitButton"
            anchors.right: settingsButton.left
            anchors.verticalCenter: parent.verticalCenter
            symbol: "power"
            accessibleName: qsTrId("menubar.quit")
            onClicked: Qt.quit()
        }
        SymbolButton {
            id: settingsButton
            objectName: "settingsButton"
            anchors.right: parent.right
            anchors.rightMargin: 10
            anchors.verticalCenter: parent.verticalCenter
            symbol: "gearshape.fill"
            accessibleName: qsTrId("tab.settings")
            onClicked: AppRouter.isSettingsPresented = true
        }
    }

    ColumnLayout {
        anchors.top: toolbar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: 24
        anchors.rightMargin: 24
        anchors.topMargin: 4
        spacing: 16

        MainPersonCard {
            objectName: "mainPersonCard"
            visible: home.hasMainPerson
            Layout.fillWidth: true
            presenter: home
        }
        EmptyMainPerson {
            objectName: "emptyMainPerson"
            visible: !home.hasMainPerson
            Layout.fillWidth: true
        }
        Divider { Layout.fillWidth: true }
        OwnStatusSection {
            Layout.fillWidth: true
            presenter: home
            onChangeStatusRequested: AppRouter.isStatusPickerPresented = true
        }
        NoticeBanner {
            objectName: "syncErrorBanner"
            visible: home.syncErrorMessage !== ""
            Layout.fillWidth: true
            message: home.syncErrorMessage
            // Trying again cannot help once the tokens are gone.
            actionText: home.offersSignInAgain ? qsTrId("home.sign_in_again") : qsTrId("action.retry")
            onActionTriggered: home.offersSignInAgain ? home.signInAgain() : home.refresh()
        }
        NoticeBanner {
            objectName: "keyringBanner"
            visible: view.keyringMessage !== ""
            Layout.fillWidth: true
            message: view.keyringMessage
            actionText: ""
        }
    }

    Toast {
        id: toast
        objectName: "statusSavedToast"
        message: qsTrId("home.status_saved_toast")
        systemImage: "checkmark.circle.fill"
    }

    SheetLoader {
        id: pickerSheet
        presented: AppRouter.isStatusPickerPresented
        content: "qrc:/Vorlie/Picker/MacStatusPickerView.qml"
        onDismissed: AppRouter.isStatusPickerPresented = false
    }
    Connections {
        target: pickerSheet.view
        function onStatusSaved() { toast.show() }
    }
    SheetLoader {
        presented: AppRouter.isSettingsPresented
        content: "qrc:/Vorlie/Settings/MacSettingsView.qml"
        onDismissed: AppRouter.isSettingsPresented = false
    }
}
