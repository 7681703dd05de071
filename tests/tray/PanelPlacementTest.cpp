// Where the panel opens: next to the tray icon when the tray says where it
// is, at the pointer otherwise, and always whole on the screen it belongs to.
#include "PickerPlacement.h"
#include "tray/PanelPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <gtest/gtest.h>

using namespace vorlie;

namespace {

const QSize panel(280, 400);

PanelAnchor atIcon(QRect icon)
{
    return PanelAnchor{icon, QPoint(-9999, -9999)};
}

PanelAnchor atPointer(QPoint pointer)
{
    return PanelAnchor{std::nullopt, pointer};
}

} // namespace

TEST(PanelPlacement, BesideTheIconOrAtThePointerAndWholeOnTheAnchorsScreen)
{
    const QRect topPanel(0, 28, 1920, 1052);
    // A 2560 x 1440 screen right of a 1920 x 1080 one (HiDPI screens report
    // device-independent geometry, so the rule is the same), and one to the
    // left at negative coordinates.
    const QRect right(1920, 0, 2560, 1440);
    const QRect left(-1280, 0, 1280, 1024);
    const struct {
        const char *what;
        QSize size;
        PanelAnchor anchor;
        QRect available;
        QPoint placed;
    } cases[] = {
        {"top panel, icon at the trailing end", panel, atIcon({1880, 2, 24, 24}), topPanel, {1640, 30}},
        {"bottom panel: above the icon", panel, atIcon({1880, 1054, 24, 24}), {0, 0, 1920, 1052}, {1640, 650}},
        {"icon in the middle of a top panel: centred under it", panel, atIcon({948, 2, 24, 24}), topPanel, {819, 30}},
        {"left vertical panel: beside the icon, centred on it", panel, atIcon({12, 500, 24, 24}), {48, 0, 1872, 1080}, {48, 311}},
        {"right vertical panel", panel, atIcon({1884, 500, 24, 24}), {0, 0, 1872, 1080}, {1592, 311}},
        {"pointer in the top panel: below it, kept off the panel", panel, atPointer({1900, 10}), topPanel, {1640, 28}},
        {"pointer in the upper half", panel, atPointer({600, 300}), topPanel, {460, 305}},
        {"pointer in the lower half: above it", panel, atPointer({600, 900}), topPanel, {460, 496}},
        {"an empty icon geometry counts as none", panel, PanelAnchor{QRect(), {600, 300}}, topPanel, {460, 305}},
        {"icon near the shared edge: not spilling onto the left screen", panel, atIcon({1925, 2, 24, 24}), right, {1920, 30}},
        {"pointer in the far corner of the right screen", panel, atPointer({4470, 1430}), right, {4200, 1026}},
        {"pointer at the shared edge on the left screen", panel, atPointer({-5, 1000}), left, {-280, 596}},
        {"pointer at the far edge of the left screen", panel, atPointer({-1275, 5}), left, {-1280, 10}},
        {"taller than the screen: its top stays visible", panel, atPointer({700, 290}), {0, 0, 800, 300}, {520, 0}},
        {"wider than the screen: its left stays visible", {900, 200}, atPointer({700, 10}), {100, 0, 800, 600}, {100, 15}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(panelPosition(c.size, c.anchor, c.available), c.placed) << c.what;
    EXPECT_EQ((PanelAnchor{QRect(), {600, 300}}.point()), QPoint(600, 300));
    EXPECT_EQ((PanelAnchor{QRect(10, 10, 20, 20), {600, 300}}.point()), QPoint(19, 19));
}

TEST(PanelPlacement, EveryAnchorOnEveryLayoutGivesAPanelInsideTheAvailableArea)
{
    const QList<QRect> layouts{{0, 28, 1920, 1052}, {0, 0, 1366, 728}, {1920, 0, 2560, 1440}, {-1280, -200, 1280, 1024},
                               {48, 0, 1872, 1080}};
    const QList<QSize> panels{{280, 400}, {280, 120}, {340, 600}};
    for (const QRect &available : layouts) {
        for (const QSize &size : panels) {
            for (int x = available.left() - 40; x <= available.right() + 40; x += 97) {
                for (int y = available.top() - 40; y <= available.bottom() + 40; y += 89) {
                    for (const PanelAnchor &anchor : {atPointer({x, y}), atIcon({x, y, 22, 22})}) {
                        const QRect placed(panelPosition(size, anchor, available), size);
                        ASSERT_TRUE(available.contains(placed))
                            << "panel " << placed.x() << "," << placed.y() << " for anchor " << x << "," << y;
                    }
                }
            }
        }
    }
}

// On a layer of the desktop: flush against the bar's edge, and along it
// where a window would have opened, counted from the nearer corner.
TEST(PanelPlacement, OnALayerThePanelHangsFromTheBarsEdgeAtTheCornerNearestTheClick)
{
    const QRect screen(0, 0, 1280, 800);
    const QRect rightScreen(1280, 0, 1920, 1080);
    const struct {
        const char *what;
        PanelAnchor anchor;
        QRect screen;
        Qt::Edges edges;
        QMargins margins;
    } cases[] = {
        {"top bar, tray at its right end", atPointer({1270, 10}), screen, Qt::TopEdge | Qt::RightEdge, {}},
        {"top bar, icon left of the middle", atPointer({300, 10}), screen, Qt::TopEdge | Qt::LeftEdge, {160, 0, 0, 0}},
        {"top bar, icon right of the middle", atPointer({1000, 10}), screen, Qt::TopEdge | Qt::RightEdge, {0, 0, 140, 0}},
        {"the corner of a top bar is the top bar's", atPointer({1279, 1}), screen, Qt::TopEdge | Qt::RightEdge, {}},
        {"bottom bar", atPointer({1270, 790}), screen, Qt::BottomEdge | Qt::RightEdge, {}},
        {"left vertical bar", atIcon({4, 80, 24, 24}), screen, Qt::LeftEdge | Qt::TopEdge, {0, 108, 0, 0}},
        {"right vertical bar, low", atPointer({1275, 700}), screen, Qt::RightEdge | Qt::BottomEdge, {0, 0, 0, 104}},
        {"a second screen counts from its own corners", atPointer({2000, 12}), rightScreen,
         Qt::TopEdge | Qt::LeftEdge, {580, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        const EdgePlacement placed = panelEdgePlacement(panel, c.anchor, c.screen);
        EXPECT_EQ(placed.edges, c.edges) << c.what;
        EXPECT_EQ(placed.margins, c.margins) << c.what;
    }
}

// The offscreen platform has one screen, so only the fallback can be told apart.
TEST(PanelPlacement, AnAnchorOffEveryScreenTakesThePrimaryScreen)
{
    EXPECT_EQ(availableGeometryAt(atPointer({-100000, -100000})), QGuiApplication::primaryScreen()->availableGeometry());
}

TEST(PanelPlacement, ThePickerOpensPastThePanelsTrailingEdgeElseBeforeItsLeadingEdgeAndStaysOnTheScreen)
{
    const struct {
        QRectF panel;
        QRectF available;
        QPointF picker;
    } cases[] = {
        {{100, 30, 280, 400}, {0, 28, 1920, 1052}, {388, 30}},
        {{1292, 30, 280, 400}, {0, 28, 1920, 1052}, {1580, 30}}, // ends exactly at the screen's edge
        {{1293, 30, 280, 400}, {0, 28, 1920, 1052}, {945, 30}},
        {{1640, 650, 280, 400}, {0, 0, 1920, 1052}, {1292, 650}},
        {{200, 0, 280, 400}, {0, 0, 600, 800}, {0, 0}},                // no room either side
        {{1930, 30, 280, 400}, {1920, 0, 1280, 1024}, {2218, 30}},      // a second screen
        {{2900, 30, 280, 400}, {1920, 0, 1280, 1024}, {2552, 30}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PickerPlacement::beside(c.panel, 340, c.available), c.picker) << "panel at " << c.panel.x();
}
