#include "PanelPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace vorlie {

namespace {

// Space between the tray (or the pointer) and the panel.
constexpr int gap = 4;

bool known(const std::optional<QRect> &geometry)
{
    return geometry && geometry->isValid();
}

} // namespace

QPoint PanelAnchor::point() const
{
    return known(iconGeometry) ? iconGeometry->center() : pointer;
}

QPoint panelPosition(QSize panel, const PanelAnchor &anchor, const QRect &available)
{
    const QRect around = known(anchor.iconGeometry) ? *anchor.iconGeometry : QRect(anchor.pointer, QSize(1, 1));
    const QPoint centre = around.center();
    QPoint at;
    if (around.right() < available.left()) {
        at = {around.right() + 1 + gap, centre.y() - panel.height() / 2};
    } else if (around.left() > available.right()) {
        at = {around.left() - gap - panel.width(), centre.y() - panel.height() / 2};
    } else {
        const bool upperHalf = centre.y() < available.center().y();
        at = {centre.x() - panel.width() / 2,
              upperHalf ? around.bottom() + 1 + gap : around.top() - gap - panel.height()};
    }
    // Pulled back from the far edges first, then from the near ones, so a
    // panel larger than the screen keeps its top-left corner visible.
    QRect placed(at, panel);
    placed.moveRight(std::min(placed.right(), available.right()));
    placed.moveBottom(std::min(placed.bottom(), available.bottom()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    placed.moveTop(std::max(placed.top(), available.top()));
    return placed.topLeft();
}

QRect availableGeometryAt(const PanelAnchor &anchor)
{
    QScreen *screen = QGuiApplication::screenAt(anchor.point());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace vorlie
