import QtQuick
import QtQuick.Controls.Basic

// A symbol button's name under the pointer, after a short rest.
Item {
    id: tip
    property string text
    Accessible.ignored: true

    ToolTip {
        parent: tip
        visible: tip.text !== ""
        text: tip.text
        delay: 600
    }
}
