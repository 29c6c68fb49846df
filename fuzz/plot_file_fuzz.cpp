// Plot files and saved graphs: a file is refused with a reason, or it holds what its
// header promises and is written and read back unchanged.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/plot_file.h"

namespace {

bool same_values(const std::vector<double>& a, const std::vector<double>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](double x, double y) {
    return std::bit_cast<uint64_t>(x) == std::bit_cast<uint64_t>(y);
  });
}

bool finite(const std::vector<double>& values) {
  for (const double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

bool same(const plot_file::Plot& a, const plot_file::Plot& b) {
  if (a.title != b.title || a.second_title != b.second_title || a.kind_code != b.kind_code ||
      a.points != b.points || a.marker != b.marker || a.frequency != b.frequency ||
      a.first_year != b.first_year || a.first_period != b.first_period ||
      a.series.size() != b.series.size() || !same_values(a.classes, b.classes) ||
      !same_values(a.curve, b.curve))
    return false;
  for (std::size_t s = 0; s < a.series.size(); ++s)
    if (a.series[s].name != b.series[s].name || !same_values(a.series[s].values, b.series[s].values))
      return false;
  return true;
}

// What a parsed plot must hold before a graph window may use it.
bool well_formed(const plot_file::Plot& plot) {
  const bool histogram = plot.kind() == plot_file::Kind::kHistogram;
  const auto points = static_cast<std::size_t>(plot.points);
  if (plot.points < 1 || plot.frequency < 1 || plot.frequency > 5 || plot.plotted_sets() < 1 ||
      plot.classes.size() != (histogram ? points : 0) ||
      plot.curve.size() != (histogram ? std::size_t{plot_file::kCurvePoints} : 0) ||
      !finite(plot.classes) || !finite(plot.curve))
    return false;
  for (const plot_file::Series& s : plot.series)
    if (s.name.size() > 14 || s.values.size() != points || !finite(s.values)) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string why;
  const std::optional<plot_file::Plot> plot = plot_file::parse(text, &why);
  if (!plot) {
    if (why.empty()) std::abort();
    return 0;
  }
  if (!well_formed(*plot)) std::abort();
  const std::string written = plot_file::format(*plot);
  const std::optional<plot_file::Plot> again = plot_file::parse(written);
  if (!again || !same(*plot, *again) || plot_file::format(*again) != written) std::abort();
  return 0;
}
