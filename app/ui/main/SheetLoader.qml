import QtQuick

// Makes a sheet showing the view at `content` the first time it is
// presented, and keeps it for its closing transition and the next time: a
// sheet is a popup of Quick Controls' templates, whose module would
// otherwise load before the window's first frame. The sheet opens over this
// loader's parent; `view` is the shown view, `dismissed` asks the owner to
// clear its flag.
Loader {
    id: loader
    property bool presented
    property url content
    readonly property Item view: item ? item.view : null
    signal dismissed()

    function make() {
        if (presented && !item)
            setSource(Qt.resolvedUrl("Sheet.qml"), {
                parent: loader.parent,
                content: loader.content,
                presented: Qt.binding(() => loader.presented)
            })
    }
    onPresentedChanged: make()
    Component.onCompleted: make()

    Connections {
        target: loader.item
        function onDismissed() { loader.dismissed() }
    }
}
