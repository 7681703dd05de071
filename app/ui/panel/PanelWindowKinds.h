#pragma once

#include <QObject>
#include <QQmlEngine>

namespace vorlie {

// The kinds of window the panel and its picker are. Named in QML as
// `Qt.Tool` and so on, they would first build the QML table of every enum of
// the Qt namespace: most of a millisecond before the panel's first frame.
class PanelWindowKinds : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Frameless, above other windows, and not on the taskbar.
    Q_PROPERTY(Qt::WindowFlags popover READ popover CONSTANT)
    // A normal window in the desktop's frame.
    Q_PROPERTY(Qt::WindowFlags framed READ framed CONSTANT)

public:
    using QObject::QObject;

    static Qt::WindowFlags popover() { return Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint; }
    static Qt::WindowFlags framed() { return Qt::Window; }
};

} // namespace vorlie
