#pragma once

#include "ListItems.h"

#include <QMimeData>
#include <QTreeView>

// The workbook list control: a report view of one or more columns whose items are texts with
// check boxes. Drops are left entirely to the owner (manual drop mode): the control only raises
// OLEDragOver and OLEDragDrop, and accepts a drag when the owner answers with the copy effect.
class ListView : public QTreeView {
    Q_OBJECT
public:
    // Mouse-button codes of MouseDown, and the drop effects of OLEDragOver.
    static constexpr int kLeftButton = 1;
    static constexpr int kRightButton = 2;
    static constexpr int kMiddleButton = 4;
    static constexpr qint32 kDropEffectNone = 0;
    static constexpr qint32 kDropEffectCopy = 1;
    // The state argument of OLEDragOver.
    static constexpr int kDragEnter = 0;
    static constexpr int kDragOver = 2;

    explicit ListView(QWidget* parent = nullptr);

    ListItems& listItems() { return *m_items; }

    // Display options.
    void setMultiSelect(bool on);
    void setLabelEdit(bool on);
    void setFullRowSelect(bool on);
    void setCheckboxes(bool on);

    // Column headers: remove them all, or add one of the given width in pixels.
    void clearColumnHeaders();
    void addColumnHeader(const QString& text, int width);

signals:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x, y in pixels.
    void MouseDown(int button, int shift, int x, int y);
    // effect comes in as what the source allows and goes back as what a drop would do.
    void OLEDragOver(const QMimeData* data, qint32& effect, int button, int shift, int x, int y,
                     int state);
    void OLEDragDrop(const QMimeData* data, qint32& effect, int button, int shift, int x, int y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void raiseMouseDown(const QMouseEvent& event, const QPoint& position);
    void answerDrag(QDragMoveEvent* event, int state);

    ListItems* m_items;
};
