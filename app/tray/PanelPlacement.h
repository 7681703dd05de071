#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace vorlie {

// Where the tray was clicked: the icon's geometry when the tray tells it
// (XEmbed), and always the pointer, for trays that do not (StatusNotifierItem).
struct PanelAnchor {
    std::optional<QRect> iconGeometry;
    QPoint pointer;

    // The point the panel hangs from: the icon's centre, else the pointer.
    QPoint point() const;
};

// Top-left corner of a panel of `panel` size, in the same device-independent
// coordinates as the anchor and `available` (the available geometry of the
// screen holding the anchor). The panel opens below an anchor in the upper
// half of the screen and above one in the lower half, beside the icon when
// the icon lies outside the available area to the left or right (a vertical
// panel), and always ends up inside `available`; a panel larger than the
// screen keeps its top-left corner visible.
QPoint panelPosition(QSize panel, const PanelAnchor &anchor, const QRect &available);

// A panel on a layer of the desktop cannot be put at a point: it hangs from
// edges of the screen. It lies flush against the screen edge nearest the
// anchor (the bar's: the compositor keeps it clear of the bar itself) and,
// along that edge, where panelPosition() would put it.
struct EdgePlacement {
    Qt::Edges edges;
    QMargins margins;
};
EdgePlacement panelEdgePlacement(QSize panel, const PanelAnchor &anchor, const QRect &screen);

// The available geometry of the screen holding the anchor; the primary
// screen's when the anchor lies off every screen.
QRect availableGeometryAt(const PanelAnchor &anchor);

} // namespace vorlie
