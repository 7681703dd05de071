#pragma once

#include <QObject>
#include <QPointF>
#include <QQmlEngine>
#include <QRectF>

namespace vorlie {

// Where the status picker opens beside the panel: past the panel's trailing
// edge when it fits on the screen there, else before its leading edge, never
// off the screen's left; level with the panel's top.
class PickerPlacement : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr qreal gap = 8;

    using QObject::QObject;
    Q_INVOKABLE static QPointF beside(const QRectF &panel, qreal pickerWidth, const QRectF &available);
};

} // namespace vorlie
