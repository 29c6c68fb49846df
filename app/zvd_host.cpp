#include "app/zvd_host.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "app/engine_link.h"
#include "shared/names.h"

namespace zelvorin {

ZvdRead ReadZvdFile(const std::filesystem::path& path) {
  ZvdRead out;
  const zvd::ReadResult read = zvd::read_file(path);
  if (read.error != zvd::ReadError::kNone) {
    out.message = QString::fromLocal8Bit(zvd::read_message(read));
    return out;
  }
  const zvd::DataSet& d = read.data_set;
  HostWorkspace ws;
  ws.shape.nobs = d.shape.nobs;
  ws.shape.nvars = d.shape.nvars;
  ws.shape.frequency = d.shape.frequency;
  ws.shape.start_year = d.shape.start_year;
  ws.shape.start_period = d.shape.start_period;
  ws.shape.century_base = d.shape.century_base;
  derive_end(ws.shape);
  std::copy(d.data.begin(), d.data.end(), ws.data.begin());
  for (int i = 0; i < d.shape.nvars; ++i) {
    ws.names[static_cast<std::size_t>(i)] = d.names[static_cast<std::size_t>(i)];
    ws.descs[static_cast<std::size_t>(i)] = d.descriptions[static_cast<std::size_t>(i)];
  }
  out.workspace = std::move(ws);
  return out;
}

zvd::DataSet subset(const HostWorkspace& ws, int first, int last) {
  zvd::DataSet d;
  const DataShape& s = ws.shape;
  const auto date = obs_calendar::date_of(first + 1, data_start(s));
  d.shape.nobs = last - first + 1;
  d.shape.nvars = s.nvars;
  d.shape.frequency = s.frequency;
  d.shape = zvd::start_from_full_year(d.shape, date.century + date.year, date.period);
  for (int v = 0; v < s.nvars; ++v) {
    d.names.push_back(ws.names[static_cast<std::size_t>(v)]);
    d.descriptions.push_back(ws.descs[static_cast<std::size_t>(v)]);
    const auto begin = ws.data.begin() + static_cast<long>(v) * s.nobs;
    d.data.insert(d.data.end(), begin + first, begin + last + 1);
  }
  return d;
}

QString WriteZvdFile(const std::filesystem::path& path, const HostWorkspace& ws, int first, int last) {
  if (first < 0 || last >= ws.shape.nobs || first > last) return QStringLiteral("Invalid data");
  const zvd::WriteResult result = zvd::write_file(path, subset(ws, first, last));
  if (result.ok) return {};
  if (result.disk_full) return QStringLiteral("Error writing file - disk full!");
  return QString::fromLocal8Bit(zvd::write_error_message(result));
}

namespace {

/// The date of observation 1 as a number of periods, for comparing two data sets.
long start_index(const DataShape& s) {
  const long year = s.frequency <= 2 ? s.start_year : s.century_base + s.start_year;
  return year * s.periods_per_year + (std::max(1, s.start_period) - 1);
}

int find_name(const HostWorkspace& ws, const std::string& name) {
  for (int i = 0; i < ws.shape.nvars; ++i)
    if (SameNamePrefix(ws.names[static_cast<std::size_t>(i)], name)) return i;
  return -1;
}

}  // namespace

QString join_data_sets(HostWorkspace& ws, const HostWorkspace& added) {
  const DataShape& a = ws.shape;
  const DataShape& b = added.shape;
  if (a.frequency != b.frequency)
    return QStringLiteral("Data frequencies do not match, unable to add data! ");
  int common = 0;
  for (int i = 0; i < b.nvars; ++i) common += find_name(ws, added.names[static_cast<std::size_t>(i)]) >= 0;
  const bool same_variables = common == b.nvars && b.nvars == a.nvars;
  if (common > 0 && !same_variables)
    return QStringLiteral("Variable name common to both files, unable to add data! ");

  // Positions of both data sets on a common time line, in observations.
  const bool dated = a.frequency > 1;
  const long a_start = dated ? start_index(a) : 0;
  long b_start = dated ? start_index(b) : 0;
  if (!dated && same_variables) b_start = a.nobs;  // undated observations follow the loaded ones
  const long first = std::min(a_start, b_start);
  const long last = std::max(a_start + a.nobs, b_start + b.nobs);
  const int new_nobs = static_cast<int>(last - first);
  const int new_nvars = same_variables ? a.nvars : a.nvars + b.nvars;
  if (new_nobs > limits::kMaxObs || new_nvars > limits::kMaxVars ||
      static_cast<long>(new_nobs) * new_nvars > limits::kCapacity)
    return QStringLiteral("Too many observations/variables!");

  HostWorkspace joined = ws;
  joined.shape.nvars = a.nvars;  // re-laid first, then the added variables
  AddFileHelper(joined, new_nobs, static_cast<int>(a_start - first));
  if (dated && a_start > b_start) {
    const auto d = obs_calendar::date_of(1, data_start(b));
    joined.shape.start_year = d.year;
    joined.shape.start_period = a.frequency <= 2 ? 1 : d.period;
    joined.shape.century_base = a.frequency <= 2 ? 0 : d.century;
  }
  const int offset = static_cast<int>(b_start - first);
  for (int v = 0; v < b.nvars; ++v) {
    const int target = same_variables ? find_name(ws, added.names[static_cast<std::size_t>(v)]) : a.nvars + v;
    if (!same_variables) {
      joined.names[static_cast<std::size_t>(target)] = added.names[static_cast<std::size_t>(v)];
      joined.descs[static_cast<std::size_t>(target)] = added.descs[static_cast<std::size_t>(v)];
    }
    for (int t = 0; t < b.nobs; ++t) {
      double& cell = joined.data[static_cast<std::size_t>(target) * static_cast<std::size_t>(new_nobs) +
                                 static_cast<std::size_t>(offset + t)];
      // Where both files cover a date, the added value fills only a missing cell.
      if (!same_variables || cell == limits::kMissing)
        cell = added.data[static_cast<std::size_t>(v) * static_cast<std::size_t>(b.nobs) + static_cast<std::size_t>(t)];
    }
  }
  joined.shape.nvars = new_nvars;
  derive_end(joined.shape);
  ws = std::move(joined);
  return {};
}

bool register_data_set(const HostWorkspace& ws, const std::string& file_name, int kind) {
  const DataShape& s = ws.shape;
  engine::register_int(slots::kNumObservations, s.nobs);
  engine::register_int(slots::kNumVariables, s.nvars);
  engine::register_int(slots::kFrequency, s.frequency);
  engine::register_int(slots::kPeriodsPerYear, s.periods_per_year);
  engine::register_int(slots::kStartYear, s.start_year);
  engine::register_int(slots::kStartPeriod, s.start_period);
  engine::register_int(slots::kCenturyBase, s.century_base);
  engine::register_data(ws.data, s.nobs, s.nvars);
  bool names_ok = true;
  std::set<std::string> seen;
  for (int i = 0; i < s.nvars; ++i) {
    const std::string& raw = ws.names[static_cast<std::size_t>(i)];
    const std::string checked = ValidateVarName(names::upper(raw));
    names_ok = names_ok && !checked.empty() && seen.insert(checked).second;
    engine::register_vars(i + 1, checked.empty() ? raw : checked, ws.descs[static_cast<std::size_t>(i)]);
  }
  engine::register_char(charset::kDataFile, file_name);
  engine::register_int(slots::kDataInputKind, kind);
  return names_ok;
}

}  // namespace zelvorin
