#include "ListView.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace {

int buttonCode(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return ListView::kLeftButton;
    case Qt::RightButton:
        return ListView::kRightButton;
    case Qt::MiddleButton:
        return ListView::kMiddleButton;
    default:
        return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

int buttonsCode(Qt::MouseButtons buttons) {
    int code = 0;
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (buttons & button)
            code |= buttonCode(button);
    return code;
}

qint32 effectsOf(Qt::DropActions actions) {
    qint32 effects = 0;
    if (actions & Qt::CopyAction)
        effects |= 1;
    if (actions & Qt::MoveAction)
        effects |= 2;
    if (actions & Qt::LinkAction)
        effects |= 4;
    return effects;
}

} // namespace

ListView::ListView(QWidget* parent)
    : QTreeView(parent)
    , m_items(new ListItems(this)) {
    setModel(m_items);
    m_items->setSelectionModel(selectionModel());
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSortingEnabled(false);
    setDragEnabled(false);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->installEventFilter(this);
    setMultiSelect(false);
    setLabelEdit(true);
}

void ListView::setMultiSelect(bool on) {
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
}

void ListView::setLabelEdit(bool on) {
    m_items->setLabelEdit(on);
    setEditTriggers(on ? QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed
                       : QAbstractItemView::NoEditTriggers);
}

void ListView::setFullRowSelect(bool on) {
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setAllColumnsShowFocus(on);
}

void ListView::setCheckboxes(bool on) {
    m_items->setCheckboxes(on);
}

void ListView::clearColumnHeaders() {
    m_items->clearColumns();
}

void ListView::addColumnHeader(const QString& text, int width) {
    m_items->addColumn(text);
    header()->resizeSection(m_items->columnCount() - 1, width);
}

void ListView::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    raiseMouseDown(*event, event->position().toPoint());
}

bool ListView::eventFilter(QObject* watched, QEvent* event) {
    // The header is part of the control: a press on it is a press on the list.
    if (watched == header() && event->type() == QEvent::MouseButtonPress) {
        const auto& press = static_cast<const QMouseEvent&>(*event);
        raiseMouseDown(press, header()->mapTo(this, press.position().toPoint()));
    }
    return QTreeView::eventFilter(watched, event);
}

void ListView::raiseMouseDown(const QMouseEvent& event, const QPoint& position) {
    emit MouseDown(buttonCode(event.button()), shiftCode(event.modifiers()), position.x(),
                   position.y());
}

void ListView::answerDrag(QDragMoveEvent* event, int state) {
    qint32 effect = effectsOf(event->possibleActions());
    const QPoint at = event->position().toPoint();
    emit OLEDragOver(event->mimeData(), effect, buttonsCode(event->buttons()),
                     shiftCode(event->modifiers()), at.x(), at.y(), state);
    if (effect & kDropEffectCopy) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void ListView::dragEnterEvent(QDragEnterEvent* event) {
    answerDrag(event, kDragEnter);
}

void ListView::dragMoveEvent(QDragMoveEvent* event) {
    answerDrag(event, kDragOver);
}

void ListView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
}

void ListView::dropEvent(QDropEvent* event) {
    qint32 effect = effectsOf(event->possibleActions());
    const QPoint at = event->position().toPoint();
    emit OLEDragDrop(event->mimeData(), effect, buttonsCode(event->buttons()),
                     shiftCode(event->modifiers()), at.x(), at.y());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}
