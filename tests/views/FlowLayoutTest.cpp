#include "FlowLayout.h"
#include "FlowRows.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

TEST(FlowRowsTest, ChipsFillRowsLeftToRightAndAChipTooWideSitsAloneUnshrunk)
{
    const qreal unbounded = std::numeric_limits<qreal>::infinity();
    const struct {
        const char *name;
        std::vector<QSizeF> chips;
        qreal width;
        std::vector<FlowRow> rows; // first, end, width, height
        qreal height;
    } cases[] = {
        {"two and one", {{100, 30}, {100, 34}, {100, 30}}, 250, {{0, 2, 208, 34}, {2, 3, 100, 30}}, 34 + 8 + 30},
        {"too wide", {{50, 20}, {400, 20}, {50, 20}}, 250, {{0, 1, 50, 20}, {1, 2, 400, 20}, {2, 3, 50, 20}}, 76},
        {"no chips", {}, 250, {}, 0},
        {"no width", {{100, 20}, {100, 20}}, unbounded, {{0, 2, 208, 20}}, 20},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto rows = flowRows(c.chips, c.width, 8);
        ASSERT_EQ(rows.size(), c.rows.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].first, c.rows[i].first) << i;
            EXPECT_EQ(rows[i].end, c.rows[i].end) << i;
            EXPECT_DOUBLE_EQ(rows[i].width, c.rows[i].width) << i;
            EXPECT_DOUBLE_EQ(rows[i].height, c.rows[i].height) << i;
        }
        EXPECT_DOUBLE_EQ(flowHeight(rows, 8), c.height);
    }
}

TEST(FlowLayoutItemTest, PlacesChildrenLeftAlignedInRowsAndTakesTheirHeight)
{
    QQuickWindow window;
    window.resize(300, 200);
    FlowLayout layout;
    layout.setParentItem(window.contentItem());
    layout.setWidth(250);
    std::vector<std::unique_ptr<QQuickItem>> chips;
    for (int i = 0; i < 3; ++i) {
        chips.push_back(std::make_unique<QQuickItem>());
        chips.back()->setImplicitWidth(100);
        chips.back()->setImplicitHeight(30);
        chips.back()->setParentItem(&layout);
    }
    window.show();
    // One polish places the chips and sets the height.
    ASSERT_TRUE(QTest::qWaitFor([&] { return layout.implicitHeight() > 0; }));
    EXPECT_EQ(chips[0]->position(), QPointF(0, 0));
    EXPECT_EQ(chips[1]->position(), QPointF(108, 0));
    EXPECT_EQ(chips[2]->position(), QPointF(0, 38));
    EXPECT_DOUBLE_EQ(layout.implicitHeight(), 68);

    chips[1]->setVisible(false);
    static_cast<void>(QTest::qWaitFor([&] { return chips[2]->position() != QPointF(0, 38); }));
    EXPECT_EQ(chips[2]->position(), QPointF(108, 0));
    EXPECT_DOUBLE_EQ(layout.implicitHeight(), 30);
}

} // namespace
} // namespace vorlie::testing
