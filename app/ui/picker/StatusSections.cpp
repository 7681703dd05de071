#include "StatusSections.h"

#include <utility>

namespace vorlie {

std::span<const StatusChipList::RowRole> StatusChipList::rowRoles() const
{
    static constexpr RowRole roles[] = {
        {keyRole, "key", [](const StatusChip &chip) -> QVariant { return chip.key; }},
        {textRole, "text", [](const StatusChip &chip) -> QVariant { return chip.text; }},
        {emojiRole, "emoji", [](const StatusChip &chip) -> QVariant { return chip.emoji; }},
        {isFavoriteRole, "isFavorite", [](const StatusChip &chip) -> QVariant { return chip.isFavorite; }},
    };
    return roles;
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

std::span<const StatusSectionList::RowRole> StatusSectionList::rowRoles() const
{
    static constexpr RowRole roles[] = {
        {keyRole, "key", [](const StatusSection &section) -> QVariant { return section.key; }},
        {titleRole, "title", [](const StatusSection &section) -> QVariant { return section.title; }},
        {chipsRole, "chips",
         [](const StatusSection &section) { return QVariant::fromValue(static_cast<QObject *>(section.list)); }},
    };
    return roles;
}

void StatusSectionList::assign(std::vector<StatusSection> sections)
{
    KeyedListModel::assign(std::move(sections), [](StatusSection &kept, StatusSection &&next) {
        // The chips change inside their own list; the row changes only with its title.
        kept.list->assign(std::exchange(next.chips, {}));
        if (kept.title == next.title)
            return false;
        kept.title = std::move(next.title);
        return true;
    });
}

void StatusSectionList::adopted(StatusSection &section)
{
    section.list = new StatusChipList(this);
    section.list->assign(std::exchange(section.chips, {}));
}

void StatusSectionList::dropped(StatusSection &section)
{
    // A view may still hold it until it has let go of the row.
    section.list->deleteLater();
    section.list = nullptr;
}

} // namespace vorlie
