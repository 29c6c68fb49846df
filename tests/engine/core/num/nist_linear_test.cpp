// Least squares through the packed cross-product route on the NIST StRD linear regressions:
// every set to the digits the method reaches, Filip refused as singular, and a verdict and
// scaled estimates that do not depend on the data's units.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/num/compensated_sums.h"
#include "engine/core/num/cross_products.h"
#include "engine/core/num/matrices.h"
#include "tests/engine/core/num/num_test_support.h"
#include "tests/support/engine/engine_fixture.h"

namespace {

using namespace qorv::core;
using num_test::lre;
using num_test::parse;
using num_test::read_csv;
using num_test::split;

const std::string kNistDir = ZV_REFERENCE_DIR "/nist-linear/";

/// A NIST problem: the design columns (in parameter order), y and the certified values.
struct Problem {
  std::string name;
  bool intercept = false;
  std::vector<std::vector<double>> x;  ///< one column per parameter
  std::vector<double> y;
  std::vector<double> b, se;           ///< certified estimates and standard deviations
  double sd = 0.0, r2 = 0.0;           ///< certified residual s.d. and R²
};

Problem load(const std::string& name) {
  Problem p;
  p.name = name;
  std::vector<std::string> terms;
  for (const auto& row : read_csv(kNistDir + "datasets.csv"))
    if (row[0] == name) {
      p.intercept = row[3] == "1";
      terms = split(row[5], ' ');
    }
  const auto data = read_csv(kNistDir + name + "/data.csv");
  for (const auto& row : data) p.y.push_back(parse(row[0]));
  for (const auto& term : terms) {
    std::vector<double> col;
    for (const auto& row : data) {
      if (term == "const") col.push_back(1.0);
      else if (term == "x") col.push_back(parse(row[1]));
      else if (term.rfind("x^", 0) == 0) col.push_back(std::pow(parse(row[1]), parse(term.substr(2))));
      else col.push_back(parse(row[static_cast<std::size_t>(term[1] - '0')]));  // x1..x6
    }
    p.x.push_back(col);
  }
  for (const auto& row : read_csv(kNistDir + name + "/certified.csv")) {
    if (row[0][0] == 'B') {
      p.b.push_back(parse(row[1]));
      p.se.push_back(parse(row[2]));
    } else if (row[0] == "residual_sd") {
      p.sd = parse(row[1]);
    } else if (row[0] == "r_squared") {
      p.r2 = parse(row[1]);
    }
  }
  EXPECT_EQ(p.x.size(), p.b.size()) << name;
  return p;
}

struct Fit {
  int fail = -1;
  std::vector<double> b, se;
  double sd = 0.0, r2 = 0.0;
};

/// How the fit is summed: by the engine, or by the extended-precision sums (long double,
/// four running sums) the engine used before its vector kernels, for X'X and for X'y.
enum class Sums { kEngine, kExtended };

/// Σ a(t)·b(t) in extended precision, four running sums, as the engine summed before.
double extended_dot(const double* a, const double* b, int n) {
  long double s[4] = {0, 0, 0, 0};
  int t = 0;
  for (; t + 4 <= n; t += 4)
    for (int r = 0; r < 4; ++r) s[r] += static_cast<long double>(a[t + r]) * b[t + r];
  for (; t < n; ++t) s[0] += static_cast<long double>(a[t]) * b[t];
  return static_cast<double>((s[0] + s[1]) + (s[2] + s[3]));
}

/// X'X of the data columns 2..k + 1 by extended-precision sums, as the engine formed it
/// before its cross-product kernels.
std::vector<double> extended_cross_products(const std::vector<double>& data, int n, int k) {
  std::vector<double> m;
  for (int i = 1; i <= k; ++i)
    for (int j = 1; j <= i; ++j)
      m.push_back(extended_dot(data.data() + static_cast<std::size_t>(i) * n, data.data() + static_cast<std::size_t>(j) * n, n));
  return m;
}

/// The estimates as the engine formed them before its vector kernels, from the inverse m:
/// b = m·X'y, then b += m·X'(y − X·b), both X'y and X'(y − X·b) in extended precision
/// (the residuals by the engine's compensated sums, which that engine used too).
std::vector<double> extended_estimates(const std::vector<double>& data, int n, int k, const std::vector<double>& m) {
  std::vector<const double*> x;
  for (int j = 1; j <= k; ++j) x.push_back(data.data() + static_cast<std::size_t>(j) * n);
  const auto times_m = [&](const std::vector<double>& v) {
    std::vector<double> out(static_cast<std::size_t>(k));
    for (int i = 1; i <= k; ++i) {
      long double s = 0;
      for (int j = 1; j <= k; ++j) s += static_cast<long double>(num_test::packed(m, i, j)) * v[static_cast<std::size_t>(j - 1)];
      out[static_cast<std::size_t>(i - 1)] = static_cast<double>(s);
    }
    return out;
  };
  const auto cross_with = [&](const double* z) {
    std::vector<double> v;
    for (const double* column : x) v.push_back(extended_dot(column, z, n));
    return v;
  };
  std::vector<double> b = times_m(cross_with(data.data())), fitted(static_cast<std::size_t>(n)), e(static_cast<std::size_t>(n));
  compensated_fit(x, b, data.data(), static_cast<std::size_t>(n), fitted.data(), e.data());
  const std::vector<double> step = times_m(cross_with(e.data()));
  for (int j = 0; j < k; ++j) b[static_cast<std::size_t>(j)] += step[static_cast<std::size_t>(j)];
  return b;
}

/// y and the regressors laid out as data columns (variable 1 = y, 2.. = regressors) and
/// fitted by PACKEDXTXSOLVE; regressors scaled by sx (not the constant) and y by sy. With
/// Sums::kExtended, X'X comes from extended_cross_products and the estimates, residuals and
/// RSS from extended_estimates.
Fit fit(const Problem& p, double sx = 1.0, double sy = 1.0, Sums sums = Sums::kEngine) {
  const int n = static_cast<int>(p.y.size());
  const int k = static_cast<int>(p.x.size());
  std::vector<double> data;
  for (double v : p.y) data.push_back(v * sy);
  std::vector<int> list = {1};
  for (int j = 0; j < k; ++j) {
    const bool constant = std::all_of(p.x[j].begin(), p.x[j].end(), [](double v) { return v == 1.0; });
    for (double v : p.x[j]) data.push_back(constant ? v : v * sx);
    list.push_back(j + 2);
  }
  Fit f;
  std::vector<double> fitted(n), work(std::max(n, k)), m(static_cast<std::size_t>(k * (k + 1) / 2));
  f.b.assign(k, 0.0);
  double rss = 0.0;
  int mode = 0;
  if (sums == Sums::kExtended) {
    m = extended_cross_products(data, n, k);
    INVERTSYMPACKED(m, k, f.fail);
    if (f.fail != 0) return f;
    mode = kSolveReuseInverse;
  }
  PACKEDXTXSOLVE(data, 0, std::span<const double>(data).first(n), list, k, n, n, 0, mode, f.b, fitted,
                 work, rss, m, f.fail);
  if (f.fail != 0) return f;
  if (sums == Sums::kExtended) {
    f.b = extended_estimates(data, n, k, m);
    std::vector<const double*> x;
    for (int j = 1; j <= k; ++j) x.push_back(data.data() + static_cast<std::size_t>(j) * n);
    compensated_fit(x, f.b, data.data(), static_cast<std::size_t>(n), fitted.data(), work.data());
    rss = extended_dot(work.data(), work.data(), n);
  }
  f.sd = std::sqrt(rss / (n - k));
  for (int j = 1; j <= k; ++j) f.se.push_back(f.sd * std::sqrt(num_test::packed(m, j, j)));
  double mean = 0.0;
  if (p.intercept) {
    for (int t = 0; t < n; ++t) mean += data[t];
    mean /= n;
  }
  double tss = 0.0;
  for (int t = 0; t < n; ++t) tss += (data[t] - mean) * (data[t] - mean);
  f.r2 = 1.0 - rss / tss;
  return f;
}

/// Lowest correct digits over a vector; a certified 0 (exact fits) is measured against
/// the size of the data: −log10(|est| / max|y|).
double lowest_lre(const std::vector<double>& est, const std::vector<double>& cert, double ymax) {
  double low = 15.0;
  for (std::size_t i = 0; i < est.size(); ++i)
    low = std::min(low, cert[i] == 0.0 ? lre(est[i] / ymax, 0.0) : lre(est[i], cert[i]));
  return low;
}

/// The lowest correct digits of a fit: coefficients, standard errors, residual s.d.
struct Digits {
  double b = 0.0, se = 0.0, sd = 0.0;
};

Digits digits(const Problem& p, const Fit& f) {
  double ymax = 0.0;
  for (double v : p.y) ymax = std::max(ymax, std::fabs(v));
  return {lowest_lre(f.b, p.b, ymax), lowest_lre(f.se, p.se, ymax),
          p.sd == 0.0 ? lre(f.sd / ymax, 0.0) : lre(f.sd, p.sd)};
}

struct Floors {
  const char* name;
  double b, se;  ///< se also serves for the residual s.d.; exact fits: −log10(s.d./max|y|)
};

class NistLinear : public qorv::testing::EngineTest, public ::testing::WithParamInterface<Floors> {};

TEST_P(NistLinear, CrossProductRouteReachesTheFloors) {
  const Floors floors = GetParam();
  const Problem p = load(floors.name);
  const Fit f = fit(p);
  ASSERT_EQ(f.fail, 0) << p.name;
  const auto [b, se, sd] = digits(p, f);
  const double r2 = lre(f.r2, p.r2);
  std::printf("[ LRE      ] %-9s coefficients %5.1f  standard errors %5.1f  residual s.d. %5.1f  R2 %5.1f\n",
              p.name.c_str(), b, se, sd, r2);
  EXPECT_GE(b, floors.b);
  EXPECT_GE(se, floors.se);
  EXPECT_GE(sd, floors.se);
  EXPECT_GE(r2, 10.0);
}

INSTANTIATE_TEST_SUITE_P(
    AllSets, NistLinear,
    ::testing::Values(Floors{"Norris", 11, 12}, Floors{"Pontius", 11.5, 12}, Floors{"NoInt1", 14, 14},
                      Floors{"NoInt2", 14, 14}, Floors{"Longley", 8, 9}, Floors{"Wampler1", 5.5, 9},
                      Floors{"Wampler2", 8.5, 9}, Floors{"Wampler3", 5.5, 11},
                      Floors{"Wampler4", 5.5, 11}, Floors{"Wampler5", 5.5, 11}),
    [](const auto& info) { return std::string(info.param.name); });

// The vector kernels replaced extended-precision sums of X'X and X'y: on every set they must
// give at least the digits those sums gave.
TEST_P(NistLinear, CrossProductsKeepTheDigitsOfExtendedSums) {
  const Problem p = load(GetParam().name);
  const Fit now = fit(p);
  const Fit before = fit(p, 1.0, 1.0, Sums::kExtended);
  ASSERT_EQ(now.fail, 0);
  ASSERT_EQ(before.fail, 0);
  const Digits d_now = digits(p, now), d_before = digits(p, before);
  std::printf("[ LRE      ] %-9s kernels b %6.3f se %6.3f sd %6.3f | extended sums b %6.3f se %6.3f sd %6.3f\n",
              p.name.c_str(), d_now.b, d_now.se, d_now.sd, d_before.b, d_before.se, d_before.sd);
  EXPECT_GE(d_now.b, d_before.b);
  EXPECT_GE(d_now.se, d_before.se);
  EXPECT_GE(d_now.sd, d_before.sd);
}

// The fit through the widest vector kernels, the AVX2 ones and the portable ones: the same
// estimates, residual sum and inverse to the last bit.
TEST_P(NistLinear, EveryKernelPathGivesTheSameFit) {
  using cross_detail::KernelChoice;
  const Problem p = load(GetParam().name);
  std::vector<Fit> fits;
  for (KernelChoice choice : {KernelChoice::kBest, KernelChoice::kAvx2, KernelChoice::kPortable}) {
    cross_detail::choose_kernel(choice);
    fits.push_back(fit(p));
  }
  cross_detail::choose_kernel(KernelChoice::kBest);
  for (std::size_t c = 1; c < fits.size(); ++c) {
    ASSERT_EQ(fits[c].fail, 0);
    EXPECT_EQ(fits[c].b, fits[0].b) << "path " << c;
    EXPECT_EQ(fits[c].se, fits[0].se) << "path " << c;
    EXPECT_EQ(fits[c].sd, fits[0].sd) << "path " << c;
  }
}

using NistVerdicts = qorv::testing::EngineTest;

TEST_F(NistVerdicts, FilipIsRefusedAsSingularAtEveryScale) {
  const Problem p = load("Filip");
  for (double scale : {1.0, 1e-6, 1e6}) {
    clear_numerical_failure();
    const Fit f = fit(p, scale, scale);
    EXPECT_EQ(f.fail, 1) << "scale " << scale;
    EXPECT_EQ(numerical_state().failure, 1) << "scale " << scale;
    std::printf("[ LRE      ] Filip x*%g y*%g %s\n", scale, scale, f.fail == 1 ? "refused as singular" : "ACCEPTED");
  }
}

TEST_F(NistVerdicts, LongleyScaledKeepsVerdictAndScalesTheEstimates) {
  const Problem p = load("Longley");
  struct Scale { double sx, sy; };
  for (const Scale s : {Scale{1e-6, 1e-6}, Scale{1e6, 1e6}, Scale{1e-6, 1.0}, Scale{1e6, 1.0}}) {
    const Fit f = fit(p, s.sx, s.sy);
    ASSERT_EQ(f.fail, 0) << s.sx << " " << s.sy;
    double low_b = 15.0, low_se = 15.0;
    for (std::size_t j = 0; j < p.b.size(); ++j) {
      const double factor = j == 0 ? s.sy : s.sy / s.sx;  // B0 multiplies the constant
      low_b = std::min(low_b, lre(f.b[j], p.b[j] * factor));
      low_se = std::min(low_se, lre(f.se[j], p.se[j] * factor));
    }
    std::printf("[ LRE      ] Longley x*%g y*%g coefficients %5.1f  standard errors %5.1f\n", s.sx, s.sy,
                low_b, low_se);
    // Multiplying by 1e-6 rounds every value; X'X of the rounded data carries that rounding,
    // times the condition of X'X, into the inverse and so into the standard errors.
    EXPECT_GE(low_b, 8.0);
    EXPECT_GE(low_se, 7.0);
  }
}

// A constant and a regressor of size 1e-5: the collinearity ratio is 5e-5 at every scale,
// so the fit is accepted; absolute pivot floors would call it singular.
TEST_F(NistVerdicts, SmallUnitsAreNotSingular) {
  Problem p;
  p.intercept = true;
  std::vector<double> ones, x;
  for (int t = 1; t <= 50; ++t) {
    ones.push_back(1.0);
    x.push_back(1e-5 * (1.0 + 0.01 * std::sin(t)));
    p.y.push_back(2.0 + 3e5 * x.back());
  }
  p.x = {ones, x};
  const Fit f = fit(p);
  ASSERT_EQ(f.fail, 0);
  EXPECT_NEAR(f.b[0], 2.0, 1e-6);
  EXPECT_NEAR(f.b[1], 3e5, 3e5 * 1e-6);
}

TEST_F(NistVerdicts, ExactlyCollinearDesignIsRefusedAtEveryScale) {
  Problem p;
  std::vector<double> ones, x1, x2, x3;
  for (int t = 1; t <= 20; ++t) {
    ones.push_back(1.0);
    x1.push_back(t);
    x2.push_back((t * t) % 7);
    x3.push_back(x1.back() + 2.0 * x2.back() - 3.0);  // = x1 + 2·x2 − 3·const
    p.y.push_back(t + (t % 3));
  }
  p.x = {ones, x1, x2, x3};
  for (double scale : {1e-6, 1e-3, 1.0, 1e3, 1e6, 0.1, 3.0}) {
    const Fit f = fit(p, scale, scale);
    EXPECT_EQ(f.fail, 1) << "scale " << scale;
  }
}

}  // namespace
