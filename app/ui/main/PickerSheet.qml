import QtQuick
import Vorlie.Presentation
import Vorlie.Main

// The status picker in its sheet; `statusSaved` tells the window to show its toast.
Sheet {
    id: sheet
    signal statusSaved()

    objectName: "pickerSheet"
    presented: AppRouter.isStatusPickerPresented
    onDismissed: AppRouter.isStatusPickerPresented = false
    // Named by address, the picker loads its types and controls when opened.
    Loader {
        id: pickerLoader
        active: AppRouter.isStatusPickerPresented
        focus: true
        source: "qrc:/Vorlie/Picker/MacStatusPickerView.qml"
        onLoaded: item.objectName = "statusPicker"
    }
    Connections {
        target: pickerLoader.item
        function onStatusSaved() { sheet.statusSaved() }
        function onDismissRequested() { AppRouter.isStatusPickerPresented = false }
    }
}
