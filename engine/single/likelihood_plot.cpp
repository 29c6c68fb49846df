#include "engine/single/likelihood_plot.h"

#include <new>
#include <string>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/plot_writer.h"
#include "engine/core/workspace.h"
#include "engine/single/error_model_support.h"
#include "engine/single/error_models.h"
#include "engine/single/estimation_state.h"
#include "shared/plot_file.h"

namespace qorv::single {

namespace {

const char* plot_title(int code) {
  if (code == method::kIvAr || code == method::kIvArGaps) return "Plot of the Concentrated IV Minimand";
  if (code == method::kIvMa || code == method::kIvMaGaps) return "Plot of the Concentrated Adjusted IV Minimand";
  return "Plot of the Concentrated Log-likelihood Function";
}

/// The criterion at every grid point, the missing code where it cannot be evaluated.
std::vector<double> grid_values(int code, int lag, bool ma) {
  const core::RegressionColumns d = equation_columns();
  const std::vector<double> w = instrument_columns();
  const core::NotInteractive quiet;
  std::vector<double> values;
  for (const double r : likelihood_plot_grid(ma)) {
    double value = 0.0;
    const bool ok = ma ? concentrated_ma_criterion(d, w, code, lag, r, value)
                       : concentrated_ar_criterion(d, w, code, lag, r, value);
    values.push_back(ok ? value : limits::kMissing);
  }
  return values;
}

}  // namespace

std::array<double, kLikelihoodPlotPoints> likelihood_plot_grid(bool ma) {
  std::array<double, kLikelihoodPlotPoints> grid{};
  for (int i = 0; i < kLikelihoodPlotPoints; ++i) grid[static_cast<std::size_t>(i)] = (i - 10) / 10.0;
  grid.front() = ma ? -1.0 : -0.99;
  grid.back() = ma ? 1.0 : 0.99;
  return grid;
}

bool plot_concentrated_likelihood() {
  const auto& s = estimation();
  const bool ar = has_ar_errors(s.method), ma = has_ma_errors(s.method);
  if (!(ar || ma) || s.arma_lags.size() != 1) return false;
  const int lag = s.arma_lags.front();
  core::SHOWCALCULATING();
  std::vector<double> values;
  try {
    values = grid_values(s.method, lag, ma);
  } catch (const std::bad_alloc&) {
    core::DISKSPACEMESSAGE();
    return false;
  }
  const int columns[] = {1};
  const std::string names[] = {std::string()};
  int type = static_cast<int>(ma ? plot_file::PlotType::kMaParameter : plot_file::PlotType::kArParameter);
  std::string title = plot_title(s.method);
  int status = core::kPlotWritten;
  core::PLOTSERIES(values, kLikelihoodPlotPoints, kLikelihoodPlotPoints, 0, 0, columns, 1, names, 0.0, lag, type,
                   title, status);
  return status == core::kPlotWritten;
}

}  // namespace qorv::single
