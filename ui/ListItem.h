#pragma once

#include <QPointer>
#include <QString>

#include <memory>

class ListItems;

// What one row of the list holds. Shared by the list and by every ListItem handle to it.
struct ListItemEntry {
    QString text;
    bool checked = false;
    qsizetype row = -1; // position from 0 while listed, -1 once removed
};

// A handle to one item of a ListItems collection. It stays valid when other items come and go;
// once its own item is removed it still answers for it but no longer belongs to the list.
class ListItem {
public:
    ListItem() = default;
    ListItem(ListItems* owner, std::shared_ptr<ListItemEntry> entry);

    bool isNull() const { return !m_entry; }
    QString Text() const;
    bool Checked() const;
    // The check box shows the new state at once.
    void setChecked(bool value);
    bool Selected() const;
    // The 1-based position in the list; 0 once removed.
    qint32 Index() const;

private:
    QPointer<ListItems> m_owner;
    std::shared_ptr<ListItemEntry> m_entry;
};
