import QtQuick
import QtQuick.Controls.Basic
import Vorlie.Theme
import Vorlie.Controls
import Vorlie.Picker

// Where one's own status is set: sections of chips, a line for a custom
// text and the error line. Emits statusSaved() then dismissRequested() after
// a successful choice; the presenter holds every rule.
FocusScope {
    id: picker
    objectName: "statusPicker"
    signal statusSaved()
    signal dismissRequested()

    implicitWidth: 340
    width: 340
    implicitHeight: content.implicitHeight + 48

    StatusPickerPresenter {
        id: presenter
        onSaved: {
            picker.statusSaved()
            picker.dismissRequested()
        }
    }

    Keys.onEscapePressed: picker.dismissRequested()

    Rectangle {
        anchors.fill: parent
        color: ThemeColor.windowBackground
    }

    Column {
        id: content
        x: 24
        y: 24
        width: parent.width - 48
        spacing: 12

        Item {
            width: parent.width
            height: Math.max(title.implicitHeight, closeButton.implicitHeight)
            Text {
                id: title
                text: qsTrId("status_picker.title")
                font: ThemeFont.headline
                color: ThemeColor.primaryText
                anchors.verticalCenter: parent.verticalCenter
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            PlainButton {
                id: closeButton
                text: qsTrId("action.close")
                textColor: ThemeColor.secondaryText
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                onClicked: picker.dismissRequested()
            }
        }

        Spinner {
            visible: presenter.isLoading
            anchors.horizontalCenter: parent.horizontalCenter
            size: 18
        }

        Flickable {
            id: scroller
            visible: !presenter.isLoading
            width: parent.width
            height: Math.min(sections.implicitHeight, 340)
            contentHeight: sections.implicitHeight
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: scroller.contentHeight > scroller.height ? ScrollBar.AsNeeded : ScrollBar.AlwaysOff }

            Column {
                id: sections
                width: scroller.width
                spacing: 16
                Repeater {
                    model: presenter.sections
                    delegate: Column {
                        id: section
                        required property string title
                        required property var chips
                        width: sections.width
                        spacing: 8
                        Text {
                            text: section.title
                            font: ThemeFont.footnote
                            color: ThemeColor.secondaryText
                            Accessible.role: Accessible.Heading
                            Accessible.name: text
                        }
                        FlowLayout {
                            width: parent.width
                            height: implicitHeight
                            spacing: 8
                            Repeater {
                                model: section.chips
                                // A chip keeps its delegate while it stays: a
                                // favourite toggled from the keyboard keeps the focus.
                                delegate: MacStatusOptionChip {
                                    required property string key
                                    required text
                                    required emoji
                                    required isFavorite
                                    onTapped: presenter.choose(key)
                                    onLongPressed: presenter.toggleFavorite(key)
                                    onActiveFocusChanged: if (activeFocus) picker.keepVisible(this)
                                }
                            }
                        }
                    }
                }
            }
        }

        Row {
            width: parent.width
            spacing: 8
            TextField {
                id: customField
                width: parent.width - (sendButton.visible ? sendButton.width + parent.spacing : 0)
                placeholderText: qsTrId("status_picker.custom_placeholder")
                text: presenter.customText
                font: ThemeFont.body
                color: ThemeColor.primaryText
                placeholderTextColor: ThemeColor.secondaryText
                selectByMouse: true
                leftPadding: 10
                rightPadding: 10
                Accessible.name: qsTrId("status_picker.custom_placeholder")
                onTextEdited: presenter.customText = text
                onAccepted: presenter.submitCustom()
                background: Rectangle {
                    implicitHeight: 34
                    radius: 9
                    color: ThemeColor.cardBackground
                    border.width: customField.activeFocus ? 2 : 1
                    border.color: customField.activeFocus ? ThemeColor.accent : ThemeColor.separator
                }
            }
            SymbolButton {
                id: sendButton
                visible: presenter.showsSendButton
                enabled: !presenter.isSubmitting
                symbol: "arrow.up.circle.fill"
                symbolSize: 24
                symbolColor: ThemeColor.accent
                accessibleName: qsTrId("status_picker.send")
                anchors.verticalCenter: customField.verticalCenter
                onClicked: presenter.submitCustom()
            }
        }

        PlainLabel {
            visible: presenter.errorMessage !== ""
            width: parent.width
            text: presenter.errorMessage
            font: ThemeFont.footnote
            color: ThemeColor.warning
            wrapMode: Text.WordWrap
            maximumLineCount: 3
        }
    }

    // Keyboard focus moving through the chips scrolls them into view.
    function keepVisible(item) {
        const top = item.mapToItem(sections, 0, 0).y
        if (top < scroller.contentY)
            scroller.contentY = top
        else if (top + item.height > scroller.contentY + scroller.height)
            scroller.contentY = top + item.height - scroller.height
    }
}
