#pragma once

#include <QAbstractListModel>

#include <algorithm>
#include <span>
#include <vector>

namespace vorlie {

// A list of rows known by their `key`. Assigning a new list tells the views
// row by row what changed, so a row that stays keeps its delegate, and the
// keyboard focus in it, while rows come and go around it.
template <typename Row>
class KeyedListModel : public QAbstractListModel {
public:
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    const std::vector<Row> &rows() const { return m_rows; }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        for (const RowRole &known : rowRoles()) {
            if (known.role == role)
                return known.value(m_rows[static_cast<size_t>(index.row())]);
        }
        return {};
    }

    QHash<int, QByteArray> roleNames() const override
    {
        QHash<int, QByteArray> names;
        for (const RowRole &known : rowRoles())
            names.insert(known.role, known.name);
        return names;
    }

protected:
    using QAbstractListModel::QAbstractListModel;

    // One role of the rows: its number, its name in QML and its value in a row.
    struct RowRole {
        int role;
        const char *name;
        QVariant (*value)(const Row &);
    };
    virtual std::span<const RowRole> rowRoles() const = 0;

    // Rows whose key is gone are removed, new keys inserted where they
    // belong, and a row that stays takes the new one's values (`update`
    // says whether any changed). Rows that change their order are laid out
    // anew, which only a choice among the recent statuses does.
    template <typename Update>
    void assign(std::vector<Row> next, Update update)
    {
        const auto inNext = [&next](const Row &row) {
            return std::any_of(next.begin(), next.end(), [&row](const Row &other) { return other.key == row.key; });
        };
        for (auto i = static_cast<int>(m_rows.size()) - 1; i >= 0; --i) {
            if (!inNext(m_rows[static_cast<size_t>(i)])) {
                beginRemoveRows({}, i, i);
                dropped(m_rows[static_cast<size_t>(i)]);
                m_rows.erase(m_rows.begin() + i);
                endRemoveRows();
            }
        }
        size_t kept = 0;
        for (const Row &row : next) {
            if (kept < m_rows.size() && m_rows[kept].key == row.key)
                ++kept;
        }
        if (kept != m_rows.size()) {
            beginResetModel();
            for (Row &row : m_rows)
                dropped(row);
            m_rows = std::move(next);
            for (Row &row : m_rows)
                adopted(row);
            endResetModel();
            return;
        }
        for (size_t i = 0; i < next.size(); ++i) {
            const int at = static_cast<int>(i);
            if (i < m_rows.size() && m_rows[i].key == next[i].key) {
                if (update(m_rows[i], std::move(next[i])))
                    emit dataChanged(index(at), index(at));
                continue;
            }
            beginInsertRows({}, at, at);
            m_rows.insert(m_rows.begin() + at, std::move(next[i]));
            adopted(m_rows[i]);
            endInsertRows();
        }
    }

    // A row entering or leaving the list, for rows that own something.
    virtual void adopted(Row &) {}
    virtual void dropped(Row &) {}

    std::vector<Row> m_rows;
};

} // namespace vorlie
