#pragma once

#include <QString>

namespace platform {

// The program's command line as one argument text: everything after the program's own name.
class ICommandLine {
public:
    virtual ~ICommandLine() = default;
    virtual QString argumentText() const = 0;
};

} // namespace platform
