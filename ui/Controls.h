#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QString>

#include <exception>

// What the windows share in building their controls and running their load steps.
namespace controls {

// Runs one load step; a step that fails is skipped, so that the window always opens.
template <typename Step> void guarded(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

inline QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                               const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

// A label whose text wraps from its top left corner.
inline QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption,
                         const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace controls
