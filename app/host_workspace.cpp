#include "app/host_workspace.h"

#include <QLocale>

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "shared/names.h"
#include "app/engine_link.h"

namespace zelvorin {

const std::array<std::string_view, 26> kFunctionWords = {
    "LOG",  "EXP",     "ABS",   "SQRT", "SIN", "COS", "SUM",  "UNIFORM", "NORMAL",
    "RANK", "PHI",     "CPHI",  "SIGN", "INVNORM", "SORT", "ORDER", "MIN", "MAX",
    "CSUM", "MEAN",    "STD",   "RATE", "DIRACC", "HPF", "MAV", "GDL"};

const std::array<std::string_view, 21> kCommandWords = {
    "SAMPLE", "LIST", "PLOT", "XPLOT", "EDIT", "ADD", "DELETE", "KEEP", "TITLE", "ENTITLE", "COR",
    "SIM", "SIMB", "BATCH", "AMPERSAND", "ADF", "SPECTRUM", "HIST", "SCATTER", "REORDER", "RESTORE"};

obs_calendar::DataStart data_start(const DataShape& shape) {
  return obs_calendar::start_from_fields(shape.frequency, shape.start_year, shape.start_period,
                                         shape.century_base);
}

void InitWorkspace(HostWorkspace& ws) {
  std::fill(ws.data.begin(), ws.data.end(), limits::kMissing);
  engine::register_data(ws.data, ws.shape.nobs, ws.shape.nvars);
}

void derive_end(DataShape& s) {
  s.periods_per_year = std::max(1, obs_calendar::periods_per_year(s.frequency));
  if (s.start_period < 1) s.start_period = 1;
  const int ppy = s.periods_per_year;
  s.end_century = s.century_base;
  s.end_year = (s.nobs + s.start_period - 2) / ppy + s.start_year;
  if (s.frequency >= 3) {
    while (s.end_year > 99) {
      s.end_century += 100;
      s.end_year -= 100;
    }
  }
  s.end_period = (s.nobs + s.start_period - 1) % ppy;
  if (s.end_period < 1) s.end_period += ppy;
}

void RetrieveDataShape(DataShape& shape) {
  const auto read = [](int slot, int& field) {
    const int value = engine::retrieve_int(slot);
    if (value != slots::kUnset) field = value;
  };
  read(slots::kNumObservations, shape.nobs);
  read(slots::kNumVariables, shape.nvars);
  read(slots::kFrequency, shape.frequency);
  read(slots::kStartYear, shape.start_year);
  read(slots::kStartPeriod, shape.start_period);
  read(slots::kCenturyBase, shape.century_base);
  derive_end(shape);
}

bool read_back_data_set(HostWorkspace& ws, const DataShape& base) {
  DataShape shape = base;
  RetrieveDataShape(shape);
  if (shape.nobs < 1 || shape.nobs > limits::kMaxObs || shape.nvars < 0 || shape.nvars > limits::kMaxVars ||
      static_cast<long>(shape.nobs) * shape.nvars > limits::kCapacity)
    return false;
  ws.shape = shape;
  for (int i = 1; i <= limits::kMaxVars; ++i) {
    const auto at = static_cast<std::size_t>(i - 1);
    if (i > shape.nvars) {
      ws.names[at].clear();
      ws.descs[at].clear();
      continue;
    }
    const engine::Variable v = engine::retrieve_vars(i);
    ws.names[at] = v.name;
    ws.descs[at] = v.desc;
  }
  const auto used = static_cast<std::size_t>(shape.nobs) * static_cast<std::size_t>(shape.nvars);
  engine::retrieve_data(ws.data, shape.nobs, shape.nvars);
  std::fill(ws.data.begin() + static_cast<long>(used), ws.data.end(), limits::kMissing);
  return true;
}

std::string observation_label(const DataShape& shape, int obs) {
  const std::string both = obs_calendar::sample_text(obs, obs, data_start(shape));
  return both.substr(0, both.find(' '));
}

std::string sample_text(const DataShape& shape) {
  // Undated data are registered as "1 N": the engine reads a sample as two labels.
  return obs_calendar::sample_text(1, shape.nobs, data_start(shape));
}

void RegisterSample(const DataShape& shape) {
  engine::register_char(charset::kSampleText, sample_text(shape));
}

bool SameNamePrefix(std::string_view a, std::string_view b) {
  if (a.size() > b.size()) std::swap(a, b);
  if (b.substr(0, a.size()) != a) return false;
  return b.size() == a.size() || b[a.size()] == ' ';
}

bool name_allowed(std::string_view name, std::span<const std::string> others) {
  const std::string valid = ValidateVarName(name);
  if (valid.empty()) return false;
  const auto matches = [&](std::string_view word) { return SameNamePrefix(valid, word); };
  return std::none_of(others.begin(), others.end(), [&](const std::string& n) { return matches(n); }) &&
         std::none_of(kFunctionWords.begin(), kFunctionWords.end(), matches) &&
         std::none_of(kCommandWords.begin(), kCommandWords.end(), matches) && !matches("EDIT") &&
         !matches("DOS");
}

bool IsNewNameAllowed(const HostWorkspace& ws, std::string_view name, int n) {
  const int earlier = std::clamp(n - 1, 0, limits::kMaxVars);
  return name_allowed(name, std::span<const std::string>(ws.names.data(), static_cast<std::size_t>(earlier)));
}

std::string GetEnvVar(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

double TextToValue(const QString& text, double fallback) {
  const QLocale locale;
  QString cleaned = text.trimmed();
  cleaned.remove(locale.groupSeparator());
  bool ok = false;
  const double value = locale.toDouble(cleaned, &ok);
  return ok ? value : fallback;
}

void AddFileHelper(HostWorkspace& ws, int new_nobs, int offset) {
  const int old_nobs = ws.shape.nobs;
  const int nvars = ws.shape.nvars;
  if (new_nobs < 1 || offset < 0 || offset + old_nobs > new_nobs ||
      static_cast<long>(new_nobs) * nvars > limits::kCapacity)
    return;
  std::vector<double> relaid(ws.data.size(), limits::kMissing);
  for (int v = 0; v < nvars; ++v)
    for (int t = 0; t < old_nobs; ++t)
      relaid[static_cast<std::size_t>(v * new_nobs + offset + t)] =
          ws.data[static_cast<std::size_t>(v * old_nobs + t)];
  ws.data = std::move(relaid);
  ws.shape.nobs = new_nobs;
  derive_end(ws.shape);
}

}  // namespace zelvorin

namespace zelvorin {

std::string ValidateVarName(std::string_view name) {
  std::string out;
  for (const char c : name)
    if (c != ' ') out += c;
  const bool allowed = std::all_of(out.begin(), out.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '.';
  });
  if (!allowed) return {};
  return names::valid_name(out);
}

}  // namespace zelvorin
