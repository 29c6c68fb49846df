// The engine's random-number generators: Wichmann-Hill uniforms (AS 183) and standard
// normal deviates by the polar method, which come in pairs (one waits for the next call).
// The state lives for the life of the engine; the seeds are (1, 23, 73) when it loads.
#pragma once

#include <cstdint>

namespace qorv::core {

/// Sets the three seeds of the uniform generator and drops any waiting normal deviate, so
/// that the same seeds always give the same uniforms and the same normals. Each seed is
/// reduced modulo its generator's modulus (30269, 30307, 30323), which gives the stream
/// it would give unreduced; a seed that is a multiple of its modulus stays 0 and that
/// component adds nothing.
void set_random_seeds(int32_t s1, int32_t s2, int32_t s3);

/// The next uniform number in [0, 1) (Wichmann-Hill, AS 183): the fractional part of
/// s1/30269 + s2/30307 + s3/30323 after one step of each seed. Bit for bit the published
/// generator's stream. Cost: constant.
double RANDUNIFORM();

/// The next standard normal deviate (polar method). A waiting deviate is returned first;
/// otherwise pairs of uniforms u, w give a = 2u - 1, b = 2w - 1 until 0 < a² + b² < 1,
/// b·f is returned and a·f waits, f = sqrt(-2·ln s / s). Cost: 2.55 uniforms per pair on
/// average.
double RANDNORMAL();

}  // namespace qorv::core
