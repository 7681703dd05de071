import QtQuick
import Vorlie.Presentation
import Vorlie.Main

// The settings in their sheet.
Sheet {
    objectName: "settingsSheet"
    presented: AppRouter.isSettingsPresented
    onDismissed: AppRouter.isSettingsPresented = false
    // Named by address, the settings load their types and controls when opened.
    Loader {
        id: settingsLoader
        active: AppRouter.isSettingsPresented
        focus: true
        source: "qrc:/Vorlie/Settings/MacSettingsView.qml"
    }
    Connections {
        target: settingsLoader.item
        function onDismissRequested() { AppRouter.isSettingsPresented = false }
    }
}
