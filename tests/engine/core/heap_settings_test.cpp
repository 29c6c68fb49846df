// The allocator's settings are made when the engine loads: a block of a few megabytes, and
// one freed again, stay on the heap instead of becoming a mapping of their own.
#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdlib>
#include <cstring>

#include "engine/core/heap_settings.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kOwnAllocator = true;  // the address sanitizer brings an allocator of its own
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kOwnAllocator = true;
#else
constexpr bool kOwnAllocator = false;
#endif
#else
constexpr bool kOwnAllocator = false;
#endif

TEST(HeapSettings, LargeBlocksStayOnTheHeapAfterTheEngineLoads) {
#if defined(__GLIBC__)
  if (kOwnAllocator) GTEST_SKIP() << "the sanitizer's allocator takes no settings";
  const std::size_t mapped_before = mallinfo2().hblks;
  for (int round = 0; round < 2; ++round) {
    void* block = std::malloc(8u << 20);
    ASSERT_NE(block, nullptr);
    std::memset(block, 1, 8u << 20);
    EXPECT_EQ(mallinfo2().hblks, mapped_before) << "round " << round;
    std::free(block);
    // The freed top of the heap is kept for the next block.
    EXPECT_GE(mallinfo2().fordblks, std::size_t{8u << 20}) << "round " << round;
  }
  // A second call changes nothing.
  qorv::core::keep_heap_blocks();
  void* block = std::malloc(8u << 20);
  EXPECT_EQ(mallinfo2().hblks, mapped_before);
  std::free(block);
#else
  GTEST_SKIP() << "the settings are those of the GNU C library";
#endif
}

}  // namespace
