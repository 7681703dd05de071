#include "FlowLayout.h"

#include "FlowRows.h"

namespace vorlie {

FlowLayout::FlowLayout(QQuickItem *parent)
    : QQuickItem(parent)
{
}

void FlowLayout::setSpacing(qreal spacing)
{
    if (qFuzzyCompare(m_spacing, spacing))
        return;
    m_spacing = spacing;
    emit spacingChanged();
    polish();
}

void FlowLayout::itemChange(ItemChange change, const ItemChangeData &data)
{
    if (change == ItemChildAddedChange)
        watch(data.item);
    if (change == ItemChildAddedChange || change == ItemChildRemovedChange)
        polish();
    QQuickItem::itemChange(change, data);
}

void FlowLayout::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (!qFuzzyCompare(newGeometry.width(), oldGeometry.width()))
        polish();
}

void FlowLayout::watch(QQuickItem *child)
{
    connect(child, &QQuickItem::implicitWidthChanged, this, &QQuickItem::polish);
    connect(child, &QQuickItem::implicitHeightChanged, this, &QQuickItem::polish);
    connect(child, &QQuickItem::visibleChanged, this, &QQuickItem::polish);
}

QList<QQuickItem *> FlowLayout::laidOutChildren() const
{
    QList<QQuickItem *> children;
    for (QQuickItem *child : childItems()) {
        if (child->isVisible())
            children << child;
    }
    return children;
}

void FlowLayout::updatePolish()
{
    const QList<QQuickItem *> children = laidOutChildren();
    std::vector<QSizeF> sizes;
    sizes.reserve(size_t(children.size()));
    for (const QQuickItem *child : children)
        sizes.emplace_back(child->implicitWidth(), child->implicitHeight());
    const std::vector<FlowRow> rows = flowRows(sizes, width(), m_spacing);
    qreal y = 0;
    for (const FlowRow &row : rows) {
        qreal x = 0;
        for (int i = row.first; i < row.end; ++i) {
            QQuickItem *child = children[i];
            child->setPosition(QPointF(x, y));
            child->setSize(sizes[size_t(i)]);
            x += sizes[size_t(i)].width() + m_spacing;
        }
        y += row.height + m_spacing;
    }
    setImplicitHeight(flowHeight(rows, m_spacing));
}

} // namespace vorlie
