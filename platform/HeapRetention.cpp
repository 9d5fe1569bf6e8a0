#include "HeapRetention.h"

#include <malloc.h>

namespace platform {

namespace {

constexpr int kMiB = 1024 * 1024;

} // namespace

HeapRetention::HeapRetention() {
    mallopt(M_MMAP_THRESHOLD, 32 * kMiB);
    mallopt(M_TRIM_THRESHOLD, 64 * kMiB);
}

HeapRetention::~HeapRetention() {
    malloc_trim(0);
}

} // namespace platform
