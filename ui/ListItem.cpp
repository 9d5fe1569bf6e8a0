#include "ListItem.h"

#include "ListItems.h"

ListItem::ListItem(ListItems* owner, std::shared_ptr<ListItemEntry> entry)
    : m_owner(owner)
    , m_entry(std::move(entry)) {}

QString ListItem::Text() const {
    return m_entry ? m_entry->text : QString();
}

bool ListItem::Checked() const {
    return m_entry && m_entry->checked;
}

void ListItem::setChecked(bool value) {
    if (!m_entry)
        return;
    m_entry->checked = value;
    if (m_owner && m_entry->row >= 0)
        m_owner->entryChanged(m_entry->row);
}

bool ListItem::Selected() const {
    return m_owner && m_entry && m_entry->row >= 0 && m_owner->isRowSelected(m_entry->row);
}

qint32 ListItem::Index() const {
    return m_entry ? static_cast<qint32>(m_entry->row + 1) : 0;
}
