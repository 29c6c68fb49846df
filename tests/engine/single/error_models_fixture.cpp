#include "tests/engine/single/error_models_fixture.h"

#include <fstream>
#include <stdexcept>

#include "engine/core/workspace.h"
#include "engine/single/estimation_runner.h"
#include "engine/single/estimation_state.h"
#include "tests/engine/single/macro_fixture.h"

namespace qorv::testing::armacase {

namespace {

namespace m = qorv::testing::macro;
using namespace qorv::single;

constexpr int kLakeIntercept = 1, kLakeLevel = 2, kLakeTime = 3;

void install_lake_huron() {
  std::ifstream in(std::string(ZV_REFERENCE_DIR) + "/ar-ma/lakehuron.csv");
  if (!in) throw std::runtime_error("lakehuron.csv not found");
  std::string line;
  std::getline(in, line);
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    const auto f = csv_fields(line);
    rows.push_back({csv_number(f[1]), csv_number(f[2]), csv_number(f[3])});
  }
  auto& g = core::globals();
  g.nobs = static_cast<int>(rows.size());
  g.nvars = 3;
  g.frequency = 2;
  g.periods_per_year = 1;
  g.start_year = 1875;
  g.century_base = 0;
  g.start_period = 1;
  g.max_vars = limits::max_vars_for(g.nobs);
  const char* names[] = {"INPT", "LEVEL", "TIME"};
  for (int v = 1; v <= 3; ++v) core::set_variable(v, names[v - 1], "");
  for (int t = 1; t <= g.nobs; ++t)
    for (int v = 1; v <= 3; ++v) core::data_at(t, v) = rows[static_cast<size_t>(t - 1)][static_cast<size_t>(v - 1)];
  g.sample_start = 1;
  g.sample_end = g.nobs;
}

const std::vector<int> kInflation = {m::kInfl, m::kIntercept, m::kR};
const std::vector<std::string> kInflationLabels = {"INPT", "R"};
const std::vector<int> kConsumption = {m::kLc, m::kIntercept, m::kLcLag, m::kLy, m::kInfl, m::kR};
const std::vector<std::string> kConsumptionLabels = {"INPT", "LC(-1)", "LY", "INFL", "R"};
const std::vector<int> kLake = {kLakeLevel, kLakeIntercept, kLakeTime};
const std::vector<std::string> kLakeLabels = {"INPT", "TIME"};

}  // namespace

const std::vector<Case> kCases = {
    {"I_AR1", 3, false, 1, kInflation, kInflationLabels, {1}},
    {"I_AR2", 4, false, 1, kInflation, kInflationLabels, {1, 2}},
    {"I_CO1", 2, false, 1, kInflation, kInflationLabels, {1}},
    {"I_CO2", 2, false, 1, kInflation, kInflationLabels, {1, 2}},
    {"I_GN2", 6, false, 1, kInflation, kInflationLabels, {1, 2}},
    {"I_GN14", 7, false, 1, kInflation, kInflationLabels, {1, 4}},
    {"I_MA1", 10, false, 1, kInflation, kInflationLabels, {1}},
    {"I_MA2", 10, false, 1, kInflation, kInflationLabels, {1, 2}},
    {"I_MA14", 11, false, 1, kInflation, kInflationLabels, {1, 4}},
    {"D_AR1", 3, false, 2, kConsumption, kConsumptionLabels, {1}},
    {"D_AR2", 4, false, 2, kConsumption, kConsumptionLabels, {1, 2}},
    {"D_CO2", 2, false, 2, kConsumption, kConsumptionLabels, {1, 2}},
    {"D_MA2", 10, false, 2, kConsumption, kConsumptionLabels, {1, 2}},
    {"H_AR1", 3, true, 1, kLake, kLakeLabels, {1}},
    {"H_AR2", 4, true, 1, kLake, kLakeLabels, {1, 2}},
};

const Case& find(const std::string& name) {
  for (const auto& c : kCases)
    if (name == c.name) return c;
  throw std::runtime_error("no case " + name);
}

void set_up(const Case& c, double scale) {
  if (c.lake)
    install_lake_huron();
  else
    install_macro_data();
  auto& g = core::globals();
  g.sample_start = c.first;
  if (scale != 1.0)
    for (int t = 1; t <= g.nobs; ++t) core::data_at(t, c.equation[0]) *= scale;
  auto& s = estimation();
  take_equation(c.equation);
  s.arma_lags = c.lags;
  begin_estimate(c.code);
  if (!load_sample()) throw std::runtime_error("sample");
}

single::ErrorModelOutcome estimate(const Case& c, int& asked, double scale) {
  set_up(c, scale);
  asked = 0;
  const LimitHandler raise = [&asked](int& limit, bool&, bool&) {
    ++asked;
    limit += 20;
  };
  switch (c.code) {
    case method::kExactAr1: case method::kExactAr2: return ESTIMATEAREXACT(true, raise);
    case method::kMa: case method::kMaGaps: return ESTIMATEMA(raise);
    default: return ESTIMATEARITERATIVE(raise);
  }
}

std::map<std::string, Expected> expected(const std::string& name) {
  return read_expected(std::string(ZV_REFERENCE_DIR) + "/ar-ma/expected.csv", name);
}

std::string parameter_label(const Case& c, int j) {
  const int k = static_cast<int>(c.labels.size());
  if (j <= k) return c.labels[static_cast<size_t>(j - 1)];
  const bool ma = c.code >= method::kMa && c.code <= method::kIvMaGaps;
  return (ma ? "E(-" : "U(-") + std::to_string(c.lags[static_cast<size_t>(j - k - 1)]) + ")";
}

}  // namespace qorv::testing::armacase
