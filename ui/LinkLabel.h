#pragma once

#include <QLabel>

// A label that is clicked like a link: a pointing-hand pointer over it, and clicked() when the
// left button is released over it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
