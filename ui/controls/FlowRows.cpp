#include "FlowRows.h"

#include <algorithm>

namespace vorlie {

std::vector<FlowRow> flowRows(const std::vector<QSizeF> &sizes, qreal maxWidth, qreal spacing)
{
    std::vector<FlowRow> rows;
    FlowRow current;
    for (int i = 0; i < int(sizes.size()); ++i) {
        const qreal w = sizes[size_t(i)].width();
        const qreal h = sizes[size_t(i)].height();
        if (current.width > 0 && current.width + spacing + w > maxWidth) {
            current.end = i;
            rows.push_back(current);
            current = FlowRow{i, i, w, h};
            continue;
        }
        current.width += current.width > 0 ? spacing + w : w;
        current.height = std::max(current.height, h);
    }
    current.end = int(sizes.size());
    if (current.end > current.first)
        rows.push_back(current);
    return rows;
}

qreal flowHeight(const std::vector<FlowRow> &rows, qreal spacing)
{
    if (rows.empty())
        return 0;
    qreal height = -spacing;
    for (const FlowRow &row : rows)
        height += row.height + spacing;
    return std::max<qreal>(height, 0);
}

} // namespace vorlie
