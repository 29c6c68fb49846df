// Wichmann-Hill uniforms and polar-method normal deviates with one shared state.
#include "engine/core/random_numbers.h"

#include <array>
#include <cmath>

#include "engine/core/engine_state.h"

namespace qorv::core {

namespace {

/// State of the generators.
struct RandomState {
  std::array<int32_t, 3> seeds{1, 23, 73};  ///< the three seeds of the uniform generator
  double waiting = 0.0;                     ///< the second deviate of the last normal pair
  bool has_waiting = false;                 ///< true while `waiting` has not been returned
};

RandomState g_random;

void reset_random() { g_random = RandomState{}; }

const ResetRegistration g_reset{reset_random};

}  // namespace

void set_random_seeds(int32_t s1, int32_t s2, int32_t s3) {
  // A seed and its residue give the same stream; the residue keeps every step in range.
  auto residue = [](int32_t s, int32_t m) { return ((s % m) + m) % m; };
  g_random.seeds = {residue(s1, 30269), residue(s2, 30307), residue(s3, 30323)};
  g_random.has_waiting = false;
}

double RANDUNIFORM() {
  // Schrage's form of s·m mod p for 0 <= s < p, in 32-bit integers.
  auto& s = g_random.seeds;
  s[0] = 171 * (s[0] % 177) - 2 * (s[0] / 177);
  if (s[0] < 0) s[0] += 30269;
  s[1] = 172 * (s[1] % 176) - 35 * (s[1] / 176);
  if (s[1] < 0) s[1] += 30307;
  s[2] = 170 * (s[2] % 178) - 63 * (s[2] / 178);
  if (s[2] < 0) s[2] += 30323;
  const double sum = s[0] / 30269.0 + s[1] / 30307.0 + s[2] / 30323.0;
  return std::fmod(sum, 1.0);
}

double RANDNORMAL() {
  if (g_random.has_waiting) {
    g_random.has_waiting = false;
    return g_random.waiting;
  }
  double a = 0.0;
  double b = 0.0;
  double s = 0.0;
  do {
    a = 2.0 * RANDUNIFORM() - 1.0;
    b = 2.0 * RANDUNIFORM() - 1.0;
    s = a * a + b * b;
  } while (!(s > 0.0 && s < 1.0));
  const double f = std::sqrt(-2.0 * std::log(s) / s);
  g_random.waiting = a * f;
  g_random.has_waiting = true;
  return b * f;
}

}  // namespace qorv::core
