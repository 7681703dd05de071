#pragma once

#include <QSizeF>
#include <limits>
#include <vector>

namespace vorlie {

// Rows of items that wrap: items go left to right until the next one would
// pass the width, then a new row starts. An item wider than the width sits
// alone in its row and is not shrunk. Rows are left-aligned.
struct FlowRow {
    int first = 0; // indices [first, end)
    int end = 0;
    qreal width = 0;
    qreal height = 0;
};

std::vector<FlowRow> flowRows(const std::vector<QSizeF> &sizes, qreal maxWidth, qreal spacing);
// The rows' heights with `spacing` between them; 0 without rows.
qreal flowHeight(const std::vector<FlowRow> &rows, qreal spacing);

} // namespace vorlie
