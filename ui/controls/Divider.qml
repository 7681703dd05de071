import QtQuick
import Vorlie.Theme

Rectangle {
    implicitHeight: 1
    color: ThemeColor.separator
    Accessible.ignored: true
}
