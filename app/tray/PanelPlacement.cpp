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

EdgePlacement panelEdgePlacement(QSize panel, const PanelAnchor &anchor, const QRect &screen)
{
    const QPoint point = anchor.point();
    const QRect placed(panelPosition(panel, anchor, screen), panel);
    const QMargins gaps(placed.left() - screen.left(), placed.top() - screen.top(), screen.right() - placed.right(),
                        screen.bottom() - placed.bottom());
    const int fromLeft = point.x() - screen.left();
    const int fromRight = screen.right() - point.x();
    const int fromTop = point.y() - screen.top();
    const int fromBottom = screen.bottom() - point.y();
    // A click this near the top or bottom is on a horizontal bar, even in a corner.
    constexpr int barReach = 64;
    const int fromTopOrBottom = std::min(fromTop, fromBottom);
    const bool verticalBar = fromTopOrBottom >= barReach && std::min(fromLeft, fromRight) < fromTopOrBottom;
    const Qt::Edge barEdge = verticalBar ? (fromLeft <= fromRight ? Qt::LeftEdge : Qt::RightEdge)
                                         : (fromTop <= fromBottom ? Qt::TopEdge : Qt::BottomEdge);
    // Along the bar, counted from the nearer end of the screen.
    const Qt::Edge endEdge = verticalBar ? (gaps.top() <= gaps.bottom() ? Qt::TopEdge : Qt::BottomEdge)
                                         : (gaps.left() <= gaps.right() ? Qt::LeftEdge : Qt::RightEdge);
    // Only the end's margin counts; flush against the bar's edge.
    const auto along = [endEdge](Qt::Edge edge, int gap) { return edge == endEdge ? gap : 0; };
    return {barEdge | endEdge, QMargins(along(Qt::LeftEdge, gaps.left()), along(Qt::TopEdge, gaps.top()),
                                        along(Qt::RightEdge, gaps.right()), along(Qt::BottomEdge, gaps.bottom()))};
}

QRect availableGeometryAt(const PanelAnchor &anchor)
{
    QScreen *screen = QGuiApplication::screenAt(anchor.point());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace vorlie
