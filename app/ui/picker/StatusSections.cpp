#include "StatusSections.h"

namespace vorlie {

QVariant StatusChipList::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const StatusChip &chip = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case keyRole:
        return chip.key;
    case textRole:
        return chip.text;
    case emojiRole:
        return chip.emoji;
    case isFavoriteRole:
        return chip.isFavorite;
    default:
        return {};
    }
}

QHash<int, QByteArray> StatusChipList::roleNames() const
{
    return {{keyRole, "key"}, {textRole, "text"}, {emojiRole, "emoji"}, {isFavoriteRole, "isFavorite"}};
}

void StatusChipList::assign(std::vector<StatusChip> chips)
{
    KeyedListModel::assign(std::move(chips), [](StatusChip &kept, StatusChip &&next) {
        if (kept == next)
            return false;
        kept = std::move(next);
        return true;
    });
}

QVariant StatusSectionList::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const StatusSection &section = m_rows[static_cast<size_t>(index.row())];
    switch (role) {
    case keyRole:
        return section.key;
    case titleRole:
        return section.title;
    case chipsRole:
        return QVariant::fromValue(static_cast<QObject *>(section.list));
    default:
        return {};
    }
}

QHash<int, QByteArray> StatusSectionList::roleNames() const
{
    return {{keyRole, "key"}, {titleRole, "title"}, {chipsRole, "chips"}};
}

void StatusSectionList::assign(std::vector<StatusSection> sections)
{
    KeyedListModel::assign(std::move(sections), [](StatusSection &kept, StatusSection &&next) {
        // The chips change inside their own list; the row changes only with its title.
        kept.list->assign(next.chips);
        kept.chips = std::move(next.chips);
        if (kept.title == next.title)
            return false;
        kept.title = std::move(next.title);
        return true;
    });
}

void StatusSectionList::adopted(StatusSection &section)
{
    section.list = new StatusChipList(this);
    section.list->assign(section.chips);
}

void StatusSectionList::dropped(StatusSection &section)
{
    // A view may still hold it until it has let go of the row.
    section.list->deleteLater();
    section.list = nullptr;
}

} // namespace vorlie
