#pragma once

#include "IWorkbooks.h"

#include <stop_token>

namespace office {

// A spreadsheet application server owned by its caller. Releasing the object without Quit still
// ends the server.
class IApplication {
public:
    virtual ~IApplication() = default;

    // The server always runs hidden; asking to show it is an error.
    virtual void setVisible(bool Visible) = 0;
    virtual IWorkbooks& Workbooks() = 0;
    // Ends the server and waits for it to be gone.
    virtual void Quit() = 0;
    // Once stop is requested, a call under way or made later that the server does not answer
    // within a short grace ends the server, and the call fails.
    virtual void setStopRequest(std::stop_token stop) = 0;
};

} // namespace office
