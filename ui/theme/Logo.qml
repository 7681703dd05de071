import QtQuick

// The product's logo, drawn sharp at any size.
Image {
    property real size: 16
    source: "qrc:/Vorlie/Theme/Logo.svg"
    sourceSize: Qt.size(size * 2, size * 2)
    width: size
    height: size
    fillMode: Image.PreserveAspectFit
    smooth: true
    Accessible.ignored: true
}
