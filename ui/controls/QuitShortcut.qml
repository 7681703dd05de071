import QtQuick

// Ctrl+Q ends the program from whichever window has the keyboard.
Shortcut {
    sequence: "Ctrl+Q"
    onActivated: Qt.quit()
}
