// The picker's chip lists tell a view row by row what changed, so that the
// chips that stay keep their items (and the keyboard focus).
#include "StatusSections.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vorlie;

namespace {

std::vector<StatusChip> chips(const QString &keys, const QString &favourite = {})
{
    std::vector<StatusChip> list;
    for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts))
        list.push_back({key, key.toUpper(), {}, key == favourite});
    return list;
}

QString keysOf(const StatusChipList &list)
{
    QStringList keys;
    for (int row = 0; row < list.rowCount(); ++row)
        keys << list.data(list.index(row), StatusChipList::keyRole).toString();
    return keys.join(u' ');
}

} // namespace

TEST(StatusChipListTest, ChangesAreToldRowByRowAndOnlyANewOrderLaysTheListOutAnew)
{
    const struct {
        const char *before;
        const char *after;
        const char *favourite;
        int changed, inserted, removed, reset;
    } cases[] = {
        {"a b c", "a b c", "", 0, 0, 0, 0},
        {"a b c", "a b c", "b", 1, 0, 0, 0},
        {"a c", "a b c", "", 0, 1, 0, 0},
        {"", "a b", "", 0, 2, 0, 0},
        {"a b c", "b x", "", 0, 1, 2, 0},
        {"a b c", "c a b", "", 0, 0, 0, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << c.before << " -> " << c.after << " favourite " << c.favourite);
        StatusChipList list;
        list.assign(chips(QString::fromLatin1(c.before)));
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::Fatal);
        QSignalSpy changed(&list, &QAbstractItemModel::dataChanged);
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
        list.assign(chips(QString::fromLatin1(c.after), QString::fromLatin1(c.favourite)));
        EXPECT_EQ(keysOf(list), QString::fromLatin1(c.after));
        EXPECT_EQ(changed.count(), c.changed);
        EXPECT_EQ(inserted.count(), c.inserted);
        EXPECT_EQ(removed.count(), c.removed);
        EXPECT_EQ(reset.count(), c.reset);
    }
}

TEST(StatusChipListTest, ASectionKeepsItsChipListWhileItStaysAndAChangedTitleIsAChangeOfItsRow)
{
    StatusSectionList sections;
    QAbstractItemModelTester tester(&sections, QAbstractItemModelTester::FailureReportingMode::Fatal);
    sections.assign({{"mood", "Mood", chips("a b"), nullptr}});
    auto *moodChips = sections.data(sections.index(0), StatusSectionList::chipsRole).value<QObject *>();
    ASSERT_NE(moodChips, nullptr);
    QSignalSpy changed(&sections, &QAbstractItemModel::dataChanged);

    sections.assign({{"favorites", "Favourites", chips("b", "b"), nullptr}, {"mood", "Stimmung", chips("a b", "b"), nullptr}});
    EXPECT_EQ(sections.data(sections.index(1), StatusSectionList::chipsRole).value<QObject *>(), moodChips);
    EXPECT_EQ(sections.data(sections.index(1), StatusSectionList::titleRole).toString(), "Stimmung");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(sections.rows().at(1).list->rows().at(1).isFavorite);
}
