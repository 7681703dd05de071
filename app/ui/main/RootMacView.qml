import QtQuick
import Vorlie.Theme
import Vorlie.Main

// The splash until the sign-in state is known, then the sign-in form or the
// main content; each new screen fades in.
FocusScope {
    id: root
    // The sign-in form needs its full 560 points; signed in, the 390-point
    // content frame sits under the 44-point toolbar.
    readonly property real minimumContentHeight: presenter.showsSignIn ? 560 : 434

    RootPresenter { id: presenter }

    Loader {
        id: content
        anchors.fill: parent
        focus: true
        sourceComponent: presenter.showsSignIn ? signInScreen : presenter.showsMain ? mainScreen : splashScreen
        onLoaded: {
            // The new screen takes the keyboard, whatever had it before.
            content.forceActiveFocus()
            if (!Motion.reduceMotion)
                fadeIn.restart()
        }
    }
    NumberAnimation {
        id: fadeIn
        target: content.item
        property: "opacity"
        from: 0
        to: 1
        duration: 250
        easing.type: Easing.InOutQuad
    }

    Component { id: splashScreen; MacSplashView {} }
    // Signed in, as most starts are, the form's types and controls are not loaded.
    Component {
        id: signInScreen
        Loader {
            id: signIn
            focus: true
            source: "qrc:/Vorlie/SignIn/MacSignInView.qml"
            onLoaded: item.focus = true
            Binding {
                target: signIn.item
                property: "keyringMessage"
                value: presenter.keyringMessage
                when: signIn.status === Loader.Ready
            }
        }
    }
    Component { id: mainScreen; MainWindowView { focus: true; keyringMessage: presenter.keyringMessage } }
}
