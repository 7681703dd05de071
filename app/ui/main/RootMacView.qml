import QtQuick
import Vorlie.Theme
import Vorlie.Main
import Vorlie.SignIn

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
    Component { id: signInScreen; MacSignInView { focus: true; keyringMessage: presenter.keyringMessage } }
    Component { id: mainScreen; MainWindowView { focus: true; keyringMessage: presenter.keyringMessage } }
}
