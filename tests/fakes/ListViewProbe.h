#pragma once

// Reads a main window's workbook list the way a user sees it.

#include "ui/ListView.h"

#include <QStringList>
#include <QWidget>

struct ListedItem {
    QString text;
    bool checked;
    bool operator==(const ListedItem&) const = default;
};

inline ListView* listViewOf(QWidget* window) {
    return window->findChild<ListView*>(QStringLiteral("ListView1"));
}

inline QList<ListedItem> listedItems(QWidget* window) {
    QList<ListedItem> items;
    for (ListItem item : listViewOf(window)->listItems())
        items.append({item.Text(), item.Checked()});
    return items;
}

inline char* toString(const ListedItem& item) {
    return qstrdup(QStringLiteral("%1 [%2]")
                       .arg(item.text, item.checked ? QStringLiteral("x") : QStringLiteral(" "))
                       .toLocal8Bit()
                       .constData());
}
