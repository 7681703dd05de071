#include "FlowLayout.h"
#include "FlowRows.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <gtest/gtest.h>

namespace vorlie::testing {
namespace {

TEST(FlowRowsTest, ThreeChipsOfHundredInTwoHundredFiftyMakeRowsOfTwoAndOne)
{
    const auto rows = flowRows({{100, 30}, {100, 34}, {100, 30}}, 250, 8);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].first, 0);
    EXPECT_EQ(rows[0].end, 2);
    EXPECT_DOUBLE_EQ(rows[0].width, 208);
    EXPECT_DOUBLE_EQ(rows[0].height, 34);
    EXPECT_EQ(rows[1].first, 2);
    EXPECT_DOUBLE_EQ(rows[1].width, 100);
    EXPECT_DOUBLE_EQ(flowHeight(rows, 8), 34 + 8 + 30);
}

TEST(FlowRowsTest, AChipWiderThanTheRowSitsAloneUnshrunk)
{
    const auto rows = flowRows({{50, 20}, {400, 20}, {50, 20}}, 250, 8);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1].end - rows[1].first, 1);
    EXPECT_DOUBLE_EQ(rows[1].width, 400);
}

TEST(FlowRowsTest, NoChipsHaveNoRowsAndNoHeight)
{
    EXPECT_TRUE(flowRows({}, 250, 8).empty());
    EXPECT_DOUBLE_EQ(flowHeight({}, 8), 0);
}

TEST(FlowRowsTest, WithoutAWidthEverythingIsOneRow)
{
    const auto rows = flowRows({{100, 20}, {100, 20}}, std::numeric_limits<qreal>::infinity(), 8);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_DOUBLE_EQ(rows[0].width, 208);
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
    const auto settle = [&] { ASSERT_TRUE(QTest::qWaitFor([&] { return !window.isVisible() || layout.implicitHeight() > 0; })); QTest::qWait(50); };
    settle();
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
