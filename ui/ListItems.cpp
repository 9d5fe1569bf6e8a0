#include "ListItems.h"

#include <stdexcept>
#include <string>

namespace {
void checkPosition(qint32 index, qint32 count) {
    if (index < 1 || index > count)
        throw std::out_of_range("list item position " + std::to_string(index) + " out of 1.." +
                                std::to_string(count));
}
} // namespace

ListItems::ListItems(QObject* parent)
    : QAbstractListModel(parent) {}

ListItem ListItems::Add(const QString& text) {
    const auto row = static_cast<int>(m_entries.size());
    auto entry = std::make_shared<ListItemEntry>();
    entry->text = text;
    entry->row = row;
    beginInsertRows({}, row, row);
    m_entries.push_back(entry);
    endInsertRows();
    return {this, entry};
}

ListItem ListItems::Item(qint32 index) {
    checkPosition(index, Count());
    return itemAt(index - 1);
}

void ListItems::Remove(qint32 index) {
    checkPosition(index, Count());
    const int row = index - 1;
    beginRemoveRows({}, row, row);
    m_entries[static_cast<std::size_t>(row)]->row = -1;
    m_entries.erase(m_entries.begin() + row);
    for (auto i = static_cast<std::size_t>(row); i < m_entries.size(); ++i)
        m_entries[i]->row = static_cast<qsizetype>(i);
    endRemoveRows();
}

void ListItems::Clear() {
    if (m_entries.empty())
        return;
    beginResetModel();
    for (const auto& entry : m_entries)
        entry->row = -1;
    m_entries.clear();
    endResetModel();
}

void ListItems::clearColumns() {
    if (m_headers.isEmpty())
        return;
    beginRemoveColumns({}, 0, static_cast<int>(m_headers.size()) - 1);
    m_headers.clear();
    endRemoveColumns();
}

void ListItems::addColumn(const QString& text) {
    const auto column = static_cast<int>(m_headers.size());
    beginInsertColumns({}, column, column);
    m_headers.append(text);
    endInsertColumns();
}

void ListItems::setCheckboxes(bool on) {
    m_checkboxes = on;
    if (!m_entries.empty())
        emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}

void ListItems::setLabelEdit(bool on) {
    m_labelEdit = on;
}

int ListItems::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_entries.size());
}

int ListItems::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ListItems::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return {};
    const ListItemEntry& entry = *m_entries[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole:
        return entry.text;
    case Qt::CheckStateRole:
        if (!m_checkboxes)
            return {};
        return entry.checked ? Qt::Checked : Qt::Unchecked;
    default:
        return {};
    }
}

bool ListItems::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.column() != 0 || index.row() >= rowCount())
        return false;
    ListItemEntry& entry = *m_entries[static_cast<std::size_t>(index.row())];
    if (role == Qt::CheckStateRole && m_checkboxes) {
        entry.checked = value.toInt() != Qt::Unchecked;
    } else if (role == Qt::EditRole && m_labelEdit) {
        entry.text = value.toString();
    } else {
        return false;
    }
    emit dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags ListItems::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (m_checkboxes)
        flags |= Qt::ItemIsUserCheckable;
    if (m_labelEdit)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant ListItems::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return {};
    return m_headers[section];
}

void ListItems::entryChanged(qsizetype row) {
    const QModelIndex changed = index(static_cast<int>(row));
    emit dataChanged(changed, changed, {Qt::CheckStateRole});
}

bool ListItems::isRowSelected(qsizetype row) const {
    return m_selection && m_selection->isRowSelected(static_cast<int>(row), {});
}
