#include "tests/engine/data/data_commands_fixture.h"

#include <cmath>
#include <fstream>
#include <sstream>

#include "engine/core/workspace.h"
#include "engine/data/data_set.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/temp_files.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace qorv::testing {

namespace {

std::string reference_folder() { return std::string(ZV_REFERENCE_DIR) + "/data-commands/"; }

std::vector<std::string> split(const std::string& line, char separator = ',') {
  std::vector<std::string> fields;
  std::stringstream in(line);
  for (std::string piece; std::getline(in, piece, separator);) fields.push_back(piece);
  if (!line.empty() && line.back() == separator) fields.emplace_back();
  return fields;
}

std::string upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

double ReferenceValue::bound() const { return relative ? tolerance * std::fabs(value) : tolerance; }

std::map<std::string, ReferenceValue> reference_case(const std::string& case_name) {
  std::ifstream in(reference_folder() + "expected.csv");
  std::map<std::string, ReferenceValue> rows;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = split(line);
    if (f.size() < 5 || f[0] != case_name) continue;
    rows[f[1]] = {std::stod(f[2]), std::stod(f[3]), f[4] == "rel", f.size() > 5 && f[5] == "alternative"};
  }
  return rows;
}

std::vector<ReferenceCase> reference_cases() {
  std::ifstream in(reference_folder() + "cases.csv");
  std::vector<ReferenceCase> cases;
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    const auto f = split(line);
    if (f.size() >= 6) cases.push_back({f[0], f[1], f[3], f[4], f[5]});
  }
  return cases;
}

void PrintTo(const ReferenceCase& c, std::ostream* out) { *out << c.name; }

void DataCommandsTest::install(const std::vector<std::vector<double>>& columns, const std::vector<std::string>& names,
                               int frequency, int start_year, int start_period) {
  data::DataSet d;
  d.nobs = static_cast<int>(columns.front().size());
  d.frequency = frequency;
  d.periods_per_year = frequency == 4 ? 4 : 1;
  d.start_year = start_year;
  d.start_period = start_period;
  d.century = frequency == 4 ? 1900 : 0;
  d.names = names;
  d.descs.assign(names.size(), "");
  for (const auto& c : columns) d.values.insert(d.values.end(), c.begin(), c.end());
  data::install_data_set(d);
  core::globals().sample_start = 1;
  core::globals().sample_end = d.nobs;
}

void DataCommandsTest::load_reference_data(const std::string& file) {
  std::ifstream in(reference_folder() + file);
  ASSERT_TRUE(in) << file;
  std::string line;
  std::getline(in, line);
  auto header = split(line);
  const bool labelled = header.front() == "obs";
  if (labelled) header.erase(header.begin());
  std::vector<std::vector<double>> columns(header.size());
  std::string first_label;
  while (std::getline(in, line)) {
    auto f = split(line);
    if (labelled) {
      if (first_label.empty()) first_label = f.front();
      f.erase(f.begin());
    }
    for (std::size_t j = 0; j < header.size(); ++j) columns[j].push_back(std::stod(f[j]));
  }
  for (auto& name : header) name = upper(name);
  if (!labelled) {
    install(columns, header);
  } else if (first_label.find('Q') != std::string::npos) {
    install(columns, header, 4, std::stoi(first_label.substr(0, 4)) - 1900, std::stoi(first_label.substr(5)));
  } else {
    install(columns, header, 2, std::stoi(first_label));
  }
}

int DataCommandsTest::observation(const std::string& label) {
  const core::Globals& g = core::globals();
  if (g.frequency == 4)
    return (std::stoi(label.substr(0, 4)) - g.century_base - g.start_year) * 4 + std::stoi(label.substr(5)) -
           g.start_period + 1;
  if (g.frequency == 2) return std::stoi(label) - g.start_year + 1;
  return std::stoi(label);
}

std::vector<std::vector<std::string>> DataCommandsTest::pages() { return dialog_script::pages(); }

std::vector<plot_file::Plot> DataCommandsTest::plots() {
  std::vector<plot_file::Plot> out;
  const auto folder = std::filesystem::path(std::string(fixed_text::trim(core::char_setting(charset::kTempFolder))));
  const int written = slots::running_plot_number(core::slot(slots::kPlotCounters));
  for (int number = 1; number <= written; ++number) {
    const auto plot = plot_file::read(folder / temp_files::plot_file_name(static_cast<unsigned>(number)));
    EXPECT_TRUE(plot.has_value()) << "plot " << number;
    if (plot) out.push_back(*plot);
  }
  return out;
}

std::vector<std::string> DataCommandsTest::messages() {
  std::vector<std::string> out;
  for (const auto& line : dialog_script::transcript())
    if (line.starts_with("message")) out.push_back(line);
  return out;
}

std::string field(const std::string& line, int column, int width) {
  const std::string padded = fixed_text::pad(line, 90);
  return padded.substr(static_cast<std::size_t>(column - 1), static_cast<std::size_t>(width));
}

std::string line_starting(const std::vector<std::string>& page, const std::string& prefix) {
  for (const auto& line : page)
    if (line.starts_with(prefix)) return line;
  return {};
}

}  // namespace qorv::testing
