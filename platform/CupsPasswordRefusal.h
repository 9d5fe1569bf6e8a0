#pragma once

namespace platform {

// Makes libcups on the calling thread answer a password request from the print system with
// no password, and say on standard error what asked for one. libcups keeps the answer per
// thread and would otherwise ask on the terminal; a run has no one to ask, so the request
// fails and the call that made it reports the refusal. Call before libcups on every thread.
void refuseCupsPasswordPrompts();

} // namespace platform
