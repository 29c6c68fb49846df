#include "engine/data/spectrum_command.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/number_format.h"
#include "engine/core/plot_writer.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/workspace.h"
#include "engine/data/summary_statistics.h"
#include "shared/exchange_slots.h"
#include "shared/plot_file.h"

namespace qorv::data {

namespace {

constexpr double kMissing = limits::kMissing;
constexpr double kPi = std::numbers::pi;
constexpr int kPage = core::channel::kResultsPage;
constexpr int kFewestObservations = 4;
constexpr std::array<double, 3> kDofFactor = {3.0, 2.6666666666666665, 3.71};

// Columns of the table: the frequency in 1-9, the period in 10-18, then per window a
// 20-column piece from column 20, 40 and 60: the 9-column estimate and its standard error
// as "(" + 9 columns + ")".
constexpr int kPeriodColumn = 10, kFirstWindowColumn = 20, kWindowStep = 20;

void write_table(const SpectrumFigures& f, const std::string& name) {
  core::SHOWRESULTS(core::kOpenPage);
  write_centred_line("Standardized spectral density functions of " + name + ", sample " + label_text(f.first) +
                     " to " + label_text(f.last));
  write_centred_line("Estimated asymptotic standard errors in brackets");
  core::WRITESTARS(kReportWidth, kPage);
  std::string line = blank_report_line();
  place(line, 1, "Frequency");
  place_centred(line, kPeriodColumn, kPeriodColumn + 8, "Period");
  for (int w = 0; w < 3; ++w) {
    const int column = kFirstWindowColumn + kWindowStep * w;
    place_centred(line, column, column + kWindowStep - 1, kWindowNames[static_cast<std::size_t>(w)]);
  }
  core::WRITELINE(line, kPage);
  core::WRITESTARS(kReportWidth, kPage);
  for (int j = 0; j <= f.window; ++j) {
    const auto i = static_cast<std::size_t>(j);
    line = blank_report_line();
    place(line, 1, core::FORMATREAL9(f.frequency[i]));
    if (j > 0) place(line, kPeriodColumn, core::FORMATREAL9(f.period[i]));
    for (int w = 0; w < 3; ++w) {
      const WindowEstimate& e = f.windows[static_cast<std::size_t>(w)];
      const int column = kFirstWindowColumn + kWindowStep * w;
      place(line, column, core::FORMATREAL9(e.density[i]) + "(" + core::FORMATREAL9(e.std_error[i]) + ")");
    }
    core::WRITELINE(line, kPage);
  }
  core::WRITESTARS(kReportWidth, kPage);
  core::SHOWRESULTS(core::kShowPage);
}

/// One plot of type 70 of `series` (each M + 1 values) against the frequencies.
void plot_against_frequency(const SpectrumFigures& f, std::vector<std::vector<double>> series,
                            std::vector<std::string> names, std::string title) {
  const int points = f.window + 1;
  std::vector<double> data;
  std::vector<int> columns;
  series.push_back(f.frequency);
  names.emplace_back("Frequency");
  for (const auto& s : series) {
    data.insert(data.end(), s.begin(), s.end());
    columns.push_back(static_cast<int>(columns.size()) + 1);
  }
  int type = static_cast<int>(plot_file::PlotType::kSpectrum), status = 0;
  core::PLOTSERIES(data, points, points, 0, f.first - 1, columns, static_cast<int>(series.size()) - 1, names, 0.0,
                   points, type, title, status);
}

void plot_estimates(const SpectrumFigures& f, const std::string& name) {
  for (int w = 0; w < 3; ++w) {
    const WindowEstimate& e = f.windows[static_cast<std::size_t>(w)];
    const double c = std::sqrt(2.0 / e.dof);
    std::vector<double> upper, lower;
    for (std::size_t j = 0; j < e.density.size(); ++j) {
      const double cj = j == 0 || j + 1 == e.density.size() ? c * std::numbers::sqrt2 : c;
      upper.push_back(e.density[j] * (1.0 + 2.0 * cj));
      lower.push_back(e.density[j] * (1.0 - 2.0 * cj));
    }
    const std::string window(kWindowNames[static_cast<std::size_t>(w)]);
    plot_against_frequency(f, {e.density, upper, lower}, {window, "+2 S.E.", "-2 S.E."},
                           "Standardized Spectral Density Function of " + name + ", " + window + " window");
  }
  plot_against_frequency(f, {f.windows[0].density, f.windows[1].density, f.windows[2].density},
                         {std::string(kWindowNames[0]), std::string(kWindowNames[1]), std::string(kWindowNames[2])},
                         "Various estimates of standardized spectral density of " + name);
}

}  // namespace

double lag_weight(SpectralWindow window, int k, int m) {
  const double a = static_cast<double>(k) / m;
  switch (window) {
    case kBartlett: return 1.0 - a;
    case kTukey: return (1.0 + std::cos(kPi * a)) / 2.0;
    case kParzen: return 2 * k <= m ? 1.0 - 6.0 * a * a + 6.0 * a * a * a : 2.0 * std::pow(1.0 - a, 3);
  }
  return 0.0;
}

int spectral_window_size(int typed, int n) {
  const int size = typed >= 1 ? typed : 2 * static_cast<int>(std::lround(std::sqrt(static_cast<double>(n))));
  return std::min(size, n - 1);
}

SpectrumFigures spectral_density(std::span<const double> x, int m) {
  SpectrumFigures f;
  f.n = static_cast<int>(x.size());
  f.window = m;
  const auto points = static_cast<std::size_t>(m) + 1;
  for (int j = 0; j <= m; ++j) {
    const double omega = j * kPi / m;
    f.frequency.push_back(omega);
    f.period.push_back(j == 0 ? kMissing : 2.0 * kPi / omega);
  }
  for (int w = 0; w < 3; ++w) f.windows[static_cast<std::size_t>(w)].dof = kDofFactor[static_cast<std::size_t>(w)] * f.n / m;
  if (!varies(variable_statistics(x))) {
    for (WindowEstimate& e : f.windows) e.density.assign(points, kMissing), e.std_error.assign(points, kMissing);
    return f;
  }

  long double mean = 0.0L;
  for (double v : x) mean += v;
  mean /= f.n;
  std::vector<long double> d;
  for (double v : x) d.push_back(v - mean);
  // c_k / c0 for k = 0..M (the divisor n cancels). The variable varies, so c0 > 0, and the
  // ratios cannot overflow however large the data.
  std::vector<long double> sums(points);
  for (std::size_t k = 0; k < points; ++k)
    for (std::size_t t = k; t < d.size(); ++t) sums[k] += d[t] * d[t - k];
  std::vector<double> c(points);
  for (std::size_t k = 0; k < points; ++k) c[k] = static_cast<double>(sums[k] / sums[0]);

  // cos(kω_j) = cos(π·(kj mod 2M)/M): one table of 2M values serves every product.
  const int period = 2 * m;
  std::vector<double> cosine(static_cast<std::size_t>(period));
  for (int i = 0; i < period; ++i) cosine[static_cast<std::size_t>(i)] = std::cos(kPi * i / m);
  std::array<std::vector<double>, 3> wc;  // w_k·c_k per window
  for (int w = 0; w < 3; ++w)
    for (int k = 1; k <= m; ++k)
      wc[static_cast<std::size_t>(w)].push_back(lag_weight(static_cast<SpectralWindow>(w), k, m) * c[static_cast<std::size_t>(k)]);
  for (int j = 0; j <= m; ++j) {
    std::array<double, 3> sum = {0.0, 0.0, 0.0};
    for (int k = 1; k <= m; ++k) {
      const double ck = cosine[static_cast<std::size_t>((static_cast<long>(k) * j) % period)];
      for (int w = 0; w < 3; ++w) sum[static_cast<std::size_t>(w)] += wc[static_cast<std::size_t>(w)][static_cast<std::size_t>(k - 1)] * ck;
    }
    const double edge = j == 0 || j == m ? std::numbers::sqrt2 : 1.0;
    for (int w = 0; w < 3; ++w) {
      WindowEstimate& e = f.windows[static_cast<std::size_t>(w)];
      const double density = 1.0 + 2.0 * sum[static_cast<std::size_t>(w)];
      e.density.push_back(density);
      e.std_error.push_back(std::sqrt(2.0 / e.dof) * edge * density);
    }
  }
  return f;
}

SpectrumResult SPECTRUM(int variable, int first, int last, int window) {
  SpectrumResult result;
  const UnbrokenRun available = unbroken_run(variable, first, last);
  result.status = available.status;
  if (available.status != kCommandDone) return result;
  const AvailableRun& run = available.run;
  if (run.count() < kFewestObservations) {
    core::SHOWMESSAGE("The spectral density needs at least 4 observations without a gap in the sample.");
    result.status = kCommandRefused;
    return result;
  }
  const CalculatingNotice busy;
  const std::vector<double> x = variable_values(variable, run.first, run.last);
  result.figures = spectral_density(x, spectral_window_size(window, run.count()));
  result.figures.first = run.first;
  result.figures.last = run.last;
  const std::string name = core::variable_name(variable);
  write_table(result.figures, name);
  if (varies(variable_statistics(x))) plot_estimates(result.figures, name);
  result.status = kCommandDone;
  return result;
}

}  // namespace qorv::data
