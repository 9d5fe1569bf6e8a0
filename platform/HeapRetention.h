#pragma once

namespace platform {

// While one lives, the C library's allocator keeps freed memory for reuse instead of handing
// it back to the system at once: blocks up to 32 MiB come from the heap, and a heap is trimmed
// only past 64 MiB free. Painting PDF pages allocates and frees large buffers over and over;
// with the allocator's own thresholds each round trip costs page faults, about a fifth of the
// time a page takes. Going, it hands back what is free. The thresholds stay set for the
// process.
class HeapRetention {
public:
    HeapRetention();
    ~HeapRetention();
    HeapRetention(const HeapRetention&) = delete;
    HeapRetention& operator=(const HeapRetention&) = delete;
};

} // namespace platform
