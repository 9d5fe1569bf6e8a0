#pragma once

#include <QString>

namespace platform {

// The icon of a message box; every message box has a single OK button.
enum class MessageIcon { None, Stop, Information };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // Shows the message and returns when the user has closed it.
    virtual void show(const QString& text, MessageIcon icon, const QString& title) = 0;
};

} // namespace platform
