import QtQuick
import QtQuick.Layouts
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.SignIn

// Signed out: the e-mail first, then the password. What is enabled and
// shown is decided by the presenter; this file only lays it out.
FocusScope {
    id: view
    // Why a sign-in would not last past a restart; empty when it would.
    property string keyringMessage
    implicitWidth: 460
    implicitHeight: 560

    Rectangle {
        anchors.fill: parent
        color: ThemeColor.windowBackground
    }

    SignInPresenter { id: presenter }

    // The password field takes over once the e-mail is accepted.
    function moveOnFromEmail() {
        if (presenter.acceptEmail())
            passwordField.forceActiveFocus()
    }

    // Centred as one block, so it stays balanced whatever the window's height.
    ColumnLayout {
        anchors.centerIn: parent
        width: parent.width - 64
        spacing: 24

        Logo {
            size: 56
            Layout.preferredWidth: 56
            Layout.preferredHeight: 56
            Layout.alignment: Qt.AlignHCenter
        }

        Text {
            Layout.fillWidth: true
            text: qsTrId("mac.signin.title")
            font: ThemeFont.headline
            color: ThemeColor.primaryText
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }

        Spinner {
            visible: !presenter.ready
            Layout.alignment: Qt.AlignHCenter
        }

        ColumnLayout {
            visible: presenter.ready
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: 240
            Layout.maximumWidth: 240
            spacing: 12

            PlainLabel {
                visible: text !== ""
                Layout.fillWidth: true
                text: presenter.errorMessage
                font: ThemeFont.footnote
                color: ThemeColor.warning
                wrapMode: Text.Wrap
                maximumLineCount: 6
                horizontalAlignment: Text.AlignHCenter
                Accessible.role: Accessible.AlertMessage
            }

            Text {
                objectName: "keyringMessage"
                visible: view.keyringMessage !== ""
                Layout.fillWidth: true
                text: view.keyringMessage
                font: ThemeFont.footnote
                color: ThemeColor.warning
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
                Accessible.role: Accessible.AlertMessage
                Accessible.name: text
                Accessible.ignored: !visible
            }

            ColumnLayout {
                Layout.fillWidth: true
                spacing: 8

                FormField {
                    id: emailField
                    objectName: "emailField"
                    Layout.fillWidth: true
                    focus: true
                    placeholderText: qsTrId("onboarding.auth.email_placeholder")
                    inputMethodHints: Qt.ImhEmailCharactersOnly | Qt.ImhNoAutoUppercase
                    text: presenter.email
                    onTextEdited: presenter.email = text
                    onAccepted: view.moveOnFromEmail()
                }
                FormField {
                    id: passwordField
                    objectName: "passwordField"
                    visible: presenter.asksPassword
                    Layout.fillWidth: true
                    placeholderText: qsTrId("onboarding.auth.password_placeholder")
                    echoMode: TextInput.Password
                    inputMethodHints: Qt.ImhSensitiveData | Qt.ImhNoPredictiveText
                    text: presenter.password
                    onTextEdited: presenter.password = text
                    onAccepted: presenter.acceptPassword()
                }
                ProminentButton {
                    objectName: "signInButton"
                    visible: presenter.asksPassword
                    Layout.fillWidth: true
                    text: qsTrId("action.continue")
                    enabled: presenter.canSignIn
                    onClicked: presenter.signIn()
                }
                BorderedButton {
                    objectName: "continueButton"
                    visible: !presenter.asksPassword
                    Layout.fillWidth: true
                    text: qsTrId("action.continue")
                    enabled: presenter.canContinue
                    onClicked: view.moveOnFromEmail()
                }
            }

            // Its room is kept, so the form does not jump when it appears.
            Item {
                Layout.fillWidth: true
                implicitHeight: 16
                Spinner {
                    anchors.centerIn: parent
                    visible: presenter.isAuthenticating
                }
            }
        }
    }
}
