#pragma once

#include "IApplication.h"

#include <QString>

#include <memory>

namespace office {

// Creates automation objects by programmatic identifier. Made once at start-up and handed to
// whoever prints.
class IAutomation {
public:
    virtual ~IAutomation() = default;

    // Raises AutomationError when the identifier is unknown or the server cannot be started.
    virtual std::unique_ptr<IApplication> createObject(const QString& progId) = 0;
};

} // namespace office
