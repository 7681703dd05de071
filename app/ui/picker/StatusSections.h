#pragma once

#include "KeyedListModel.h"

#include <QQmlEngine>
#include <QString>

namespace vorlie {

struct StatusChip {
    QString key;
    QString text;
    QString emoji;
    bool isFavorite = false;

    bool operator==(const StatusChip &) const = default;
};

// One section's chips, with the roles key, text, emoji and isFavorite.
class StatusChipList : public KeyedListModel<StatusChip> {
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Role { keyRole = Qt::UserRole + 1, textRole, emojiRole, isFavoriteRole };

    using KeyedListModel::KeyedListModel;
    void assign(std::vector<StatusChip> chips);

private:
    std::span<const RowRole> rowRoles() const override;
};

struct StatusSection {
    QString key; // the title's text id
    QString title;
    // Handed to the list when the section is assigned; the list keeps them.
    std::vector<StatusChip> chips;
    StatusChipList *list = nullptr; // owned by the section list
};

// The picker's sections in order, with the roles key, title and chips (a
// StatusChipList).
class StatusSectionList : public KeyedListModel<StatusSection> {
    Q_OBJECT
    QML_ANONYMOUS

public:
    enum Role { keyRole = Qt::UserRole + 1, titleRole, chipsRole };

    using KeyedListModel::KeyedListModel;
    void assign(std::vector<StatusSection> sections);

private:
    std::span<const RowRole> rowRoles() const override;
    void adopted(StatusSection &section) override;
    void dropped(StatusSection &section) override;
};

} // namespace vorlie
