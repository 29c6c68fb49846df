#include "engine/core/heap_settings.h"

#include <malloc.h>

namespace qorv::core {

namespace {
constexpr int kMapThreshold = 64 * 1024 * 1024;
constexpr int kTrimThreshold = 128 * 1024 * 1024;
}  // namespace

void keep_heap_blocks() {
  static const bool done = [] {
#if defined(__GLIBC__)
    // Either setting may be refused (another allocator, a limit of this C library); the
    // defaults then stay, which only costs time.
    mallopt(M_MMAP_THRESHOLD, kMapThreshold);
    mallopt(M_TRIM_THRESHOLD, kTrimThreshold);
#endif
    return true;
  }();
  (void)done;
}

}  // namespace qorv::core
