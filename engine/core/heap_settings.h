// How the C library's allocator treats the engine's large blocks.
#pragma once

namespace qorv::core {

/// Keeps blocks below 64 MB on the heap instead of mapping each one afresh, and the heap's
/// free top up to 128 MB instead of returning it on every free. The engine allocates and
/// frees work arrays of a few hundred kilobytes on every request; with the allocator's
/// defaults each such block is a fresh mapping whose pages fault in on first touch.
/// Runs once, when the engine library loads (engine_state.cpp); later calls do nothing.
void keep_heap_blocks();

}  // namespace qorv::core
