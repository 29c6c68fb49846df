#include "engine/diagnostics/residual_correlogram.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/obs_label.h"
#include "engine/core/plot_writer.h"
#include "engine/core/workspace.h"
#include "engine/data/spectrum_command.h"
#include "engine/data/summary_statistics.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/diagnostics/residual_series.h"
#include "engine/single/estimation_state.h"
#include "shared/plot_file.h"

namespace qorv::diagnostics {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i); }

/// The sample line of both titles.
std::string sample_text(int first, int last) {
  return ", sample from " + core::plain_label(core::OBSLABEL(first)) + " to " + core::plain_label(core::OBSLABEL(last));
}

}  // namespace

int correlogram_window(int n) {
  const int m = 2 * static_cast<int>(std::lround(std::sqrt(static_cast<double>(std::max(n, 0)))));
  return m == 0 ? 1 : m;
}

ResidualCorrelogram residual_correlogram(std::span<const double> e) {
  ResidualCorrelogram c;
  const int n = static_cast<int>(e.size());
  c.window = correlogram_window(n);
  // Orders at or past n have no products: their autocovariances are 0.
  const data::Autocorrelations a = data::autocorrelations(e, c.window);
  c.r = a.r;
  const bool varies = !a.r.empty() && a.r.front() != limits::kMissing;
  c.r.resize(at(c.window), varies ? 0.0 : limits::kMissing);
  const data::SpectrumFigures f = data::spectral_density(e, c.window);
  c.frequency = f.frequency;
  c.parzen = f.windows[data::kParzen].density;
  return c;
}

void plot_residual_correlogram() {
  const auto& s = single::estimation();
  const auto& g = core::globals();
  try {
    ResidualCorrelogram c;
    int first = 0;
    {
      BusyNotice busy;
      std::vector<double> e = listed_residuals();
      // The observations an AR filter lost are not listed, nor plotted.
      const int lost = std::clamp(single::lost_observations(), 0, std::max(s.nused - 1, 0));
      e.erase(e.begin(), e.begin() + lost);
      if (e.empty()) return;
      first = g.sample_start + lost;
      c = residual_correlogram(e);
    }
    const std::string sample = sample_text(first, g.sample_end);
    const int m = c.window;

    std::string title = "Autocorrelation function of residuals" + sample;
    const std::vector<int> one = {1};
    const std::vector<std::string> acf_names = {"Residuals"};
    int type = static_cast<int>(plot_file::PlotType::kLagOrder), status = 0;
    core::PLOTSERIES(c.r, m, m, 0, first - 1, one, 1, acf_names, 0.0, m, type, title, status);

    std::vector<double> data(c.parzen);
    data.insert(data.end(), c.frequency.begin(), c.frequency.end());
    const std::vector<int> columns = {1, 2};
    const std::vector<std::string> names = {"Parzen", "Frequency"};
    title = "Standardized Spectral Density of Residuals (Parzen Window)            " + sample;
    type = static_cast<int>(plot_file::PlotType::kSpectrum);
    core::PLOTSERIES(data, m + 1, m + 1, 0, first - 1, columns, 1, names, 0.0, m + 1, type, title, status);
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
  }
}

}  // namespace qorv::diagnostics
