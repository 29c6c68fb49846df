// The log-likelihood of the GARCH family at up to eight parameter vectors side by side, in
// the lanes of one vector pass: the passes of the central-difference scores do the same
// operations on different parameters, and the variance recursion, whose every step waits
// on the one before, then serves eight of them at the cost of one.
//
// Each lane performs garch_loglik's operations in garch_loglik's order, and the functions
// without a vector instruction (log, exp, log1p) are the same library calls one lane at a
// time, so every lane's values and stop are garch_loglik's at that point to the last bit.
// The vector kernels (AVX-512, or AVX2, chosen at run time with the cross-product kernels)
// and the portable one run the same code.
#pragma once

#include <span>

#include "engine/single/garch_likelihood.h"

namespace qorv::single {

/// Parameter vectors evaluated side by side.
inline constexpr int kGarchLanes = 8;

/// Evaluates the model at points.size()/m points (1..kGarchLanes; m the model's
/// parameters), point i at points[i·m .. i·m + m − 1]: l(t) of point i at
/// l[t·kGarchLanes + i] for the n likelihood observations (l holds n·kGarchLanes values)
/// and its stop at stops[i]; a point's values after its stop are unspecified.
/// Throws std::invalid_argument where garch_loglik would, or when the lengths do not fit.
/// Cost: about that of one garch_loglik pass plus the library calls of every point.
void garch_loglik_lanes(const GarchModel& model, const GarchData& data, std::span<const double> points,
                        std::span<double> l, std::span<GarchStop> stops);

}  // namespace qorv::single
