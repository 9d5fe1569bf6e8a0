#pragma once

#include "ListItem.h"

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

// The items of the list view: texts with check states, in the order they were added, positions
// 1 to Count. It is also the Qt model that the view shows.
class ListItems : public QAbstractListModel {
    Q_OBJECT
public:
    explicit ListItems(QObject* parent = nullptr);

    // A new item with that text at the end of the list.
    ListItem Add(const QString& text);
    qint32 Count() const { return static_cast<qint32>(m_entries.size()); }
    // The item at a 1-based position; throws std::out_of_range when there is none.
    ListItem Item(qint32 index);
    // Removes the item at a 1-based position; later items move up by one. Throws
    // std::out_of_range when there is none.
    void Remove(qint32 index);
    void Clear();

    // Iteration over every item once, first to last.
    class const_iterator {
    public:
        const_iterator(ListItems* owner, qsizetype row)
            : m_owner(owner)
            , m_row(row) {}
        ListItem operator*() const { return m_owner->itemAt(m_row); }
        const_iterator& operator++() {
            ++m_row;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return m_row == other.m_row; }

    private:
        ListItems* m_owner;
        qsizetype m_row;
    };
    const_iterator begin() { return {this, 0}; }
    const_iterator end() { return {this, static_cast<qsizetype>(m_entries.size())}; }

    // Column headers of the report view.
    void clearColumns();
    void addColumn(const QString& text);

    // How the items present themselves.
    void setCheckboxes(bool on);
    bool checkboxes() const { return m_checkboxes; }
    void setLabelEdit(bool on);
    bool labelEdit() const { return m_labelEdit; }

    // The view's selection, which Selected of each item reports.
    void setSelectionModel(QItemSelectionModel* selection) { m_selection = selection; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    friend class ListItem;
    ListItem itemAt(qsizetype row) { return {this, m_entries[static_cast<std::size_t>(row)]}; }
    void entryChanged(qsizetype row);
    bool isRowSelected(qsizetype row) const;

    std::vector<std::shared_ptr<ListItemEntry>> m_entries;
    QStringList m_headers;
    bool m_checkboxes = false;
    bool m_labelEdit = true;
    QPointer<QItemSelectionModel> m_selection;
};
