#pragma once

#include "IMessageBox.h"

namespace platform {

// Application-modal QMessageBox with an OK button only.
class QtMessageBox : public IMessageBox {
public:
    void show(const QString& text, MessageIcon icon, const QString& title) override;
};

} // namespace platform
