#include "CupsPasswordRefusal.h"

#include <cups/cups.h>

#include <cstdio>

namespace platform {

namespace {

const char* noPassword(const char* prompt, http_t* /*http*/, const char* method,
                       const char* resource, void* /*data*/) {
    std::fprintf(stderr,
                 "tessaly: the print system asks for a password (%s, %s %s); Tessaly does "
                 "not ask for one, so the request is refused\n",
                 prompt != nullptr ? prompt : "", method != nullptr ? method : "",
                 resource != nullptr ? resource : "");
    return nullptr;
}

} // namespace

void refuseCupsPasswordPrompts() {
    cupsSetPasswordCB2(noPassword, nullptr);
}

} // namespace platform
