#include "PickerPlacement.h"

#include <algorithm>

namespace vorlie {

QPointF PickerPlacement::beside(const QRectF &panel, qreal pickerWidth, const QRectF &available)
{
    const qreal trailing = panel.x() + panel.width() + gap;
    const qreal x = trailing + pickerWidth <= available.right()
        ? trailing
        : std::max(available.x(), panel.x() - pickerWidth - gap);
    return {x, panel.y()};
}

} // namespace vorlie
