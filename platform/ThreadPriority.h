#pragma once

namespace platform {

// Lowers the calling thread's share of the processors below that of the program's other
// threads, once per thread: a thread that works in the background for the user-interface
// thread, on as many threads as there are cores, must not keep that thread from serving its
// events. When nothing else wants the processors it runs as fast as before.
void lowerThreadPriority();

} // namespace platform
