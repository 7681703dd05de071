import QtQuick

// Makes a sheet from its address the first time it is presented, and keeps
// it for its closing transition and the next time: a sheet is a popup of
// Quick Controls' templates, whose module would otherwise load before the
// window's first frame. The sheet opens over this loader's parent.
Loader {
    id: loader
    property bool presented
    property url sheet

    function make() {
        if (presented && !item)
            setSource(sheet, { parent: loader.parent })
    }
    onPresentedChanged: make()
    Component.onCompleted: make()
}
