#pragma once

#include <QQuickItem>

namespace vorlie {

// Lays its children out in wrapping rows (see flowRows), each at its
// implicit size; its own implicit height follows from its width.
class FlowLayout : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal spacing READ spacing WRITE setSpacing NOTIFY spacingChanged)

public:
    explicit FlowLayout(QQuickItem *parent = nullptr);

    qreal spacing() const { return m_spacing; }
    void setSpacing(qreal spacing);

signals:
    void spacingChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &data) override;
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void updatePolish() override;

private:
    void watch(QQuickItem *child);
    QList<QQuickItem *> laidOutChildren() const;

    qreal m_spacing = 8;
};

} // namespace vorlie
