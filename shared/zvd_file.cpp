#include "shared/zvd_file.h"

#include "shared/obs_calendar.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "shared/atomic_file.h"
#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"

namespace zvd {

namespace {

std::size_t ceil_div(std::size_t a, std::size_t b) { return (a + b - 1) / b; }

int32_t get_i32(std::span<const unsigned char> bytes, std::size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | bytes[at + static_cast<std::size_t>(i)];
  return static_cast<int32_t>(v);
}

double get_f64(std::span<const unsigned char> bytes, std::size_t at) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i) v = (v << 8) | bytes[at + static_cast<std::size_t>(i)];
  const double value = std::bit_cast<double>(v);
  return std::isfinite(value) ? value : limits::kMissing;
}

/// A text field: NUL reads as blank, trailing blanks removed.
std::string get_text(std::span<const unsigned char> bytes, std::size_t at, std::size_t len) {
  return fixed_text::from_fixed(reinterpret_cast<const char*>(bytes.data() + at),
                                static_cast<int>(len));
}

void put_i32(std::vector<unsigned char>& out, std::size_t at, int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

void put_f64(std::vector<unsigned char>& out, std::size_t at, double value) {
  const auto v = std::bit_cast<uint64_t>(std::isfinite(value) ? value : limits::kMissing);
  for (std::size_t i = 0; i < 8; ++i) out[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

void put_text(std::vector<unsigned char>& out, std::size_t at, std::string_view text,
              std::size_t len) {
  const std::string field = fixed_text::pad(text, len);
  std::memcpy(out.data() + at, field.data(), len);
}

/// Counts checked in the reader's order: observations, variables, values.
ReadError check_counts(int32_t nobs, int32_t nvars) {
  if (nobs <= 0 || nvars <= 0) return ReadError::kNotValid;
  if (nobs > limits::kMaxObs) return ReadError::kTooManyObservations;
  if (nvars > limits::kMaxVars) return ReadError::kTooManyVariables;
  if (static_cast<int64_t>(nobs) * nvars > limits::kCapacity) return ReadError::kTooManyValues;
  return ReadError::kNone;
}

/// The host's start fields from a file's header fields; false for impossible ones.
bool host_start(int32_t frequency, int32_t year, int32_t period, int32_t century, Shape& shape) {
  switch (frequency) {
    case 1:
      if (period < 0 || period > 1) return false;
      shape.start_year = 1;
      shape.start_period = 1;
      shape.century_base = 0;
      return true;
    case 2:
      if (period < 0 || period > 1 || year < 0 || year > kLastYear) return false;
      shape.start_year = year;
      shape.start_period = 1;
      shape.century_base = 0;
      return true;
    default:
      if (period < 0 || period > shape.periods_per_year) return false;
      if (year < 0 || year > 99) return false;
      if (century < 0 || century % 100 != 0 || century > kLastYear - year) return false;
      shape.start_year = year;
      shape.start_period = period == 0 ? 1 : period;
      shape.century_base = century == 0 ? 1900 : century;
      return true;
  }
}

std::size_t file_size_for(const Shape& shape) {
  const auto nobs = static_cast<std::size_t>(shape.nobs);
  const auto nvars = static_cast<std::size_t>(shape.nvars);
  return kRecordSize * (1 + ceil_div(nvars, kEntriesPerNameRecord) +
                        nvars * ceil_div(nobs, kValuesPerRecord) +
                        ceil_div(nvars, kLongDescsPerRecord));
}

}  // namespace

Shape start_from_full_year(Shape shape, int full_year, int period) {
  shape.periods_per_year = obs_calendar::periods_per_year(shape.frequency);
  if (shape.frequency <= 1) {
    shape.start_year = 1;
    shape.start_period = 1;
    shape.century_base = 0;
  } else if (shape.frequency == 2) {
    shape.start_year = full_year;
    shape.start_period = 1;
    shape.century_base = 0;
  } else {
    shape.start_year = full_year % 100;
    shape.start_period = period;
    shape.century_base = full_year / 100 * 100;
  }
  return shape;
}

std::string read_error_message(ReadError error) {
  switch (error) {
    case ReadError::kNone: return {};
    case ReadError::kCannotOpen: return "Could not open this file";
    case ReadError::kTooManyObservations: return "Too many observations!";
    case ReadError::kTooManyVariables: return "Too many variables!";
    case ReadError::kTooManyValues: return "Too many observations/variables";
    case ReadError::kNotValid: return "Not a valid ZVD file!";
  }
  return {};
}

std::string read_message(const ReadResult& result) {
  std::string text = read_error_message(result.error);
  if (result.error == ReadError::kCannotOpen && !result.system_message.empty()) text += "\n" + result.system_message;
  return text;
}

ReadResult decode(std::span<const unsigned char> bytes) {
  ReadResult result;
  auto refuse = [&result](ReadError error) {
    result.error = error;
    result.data_set = {};
    return result;
  };
  if (bytes.size() < kRecordSize) return refuse(ReadError::kNotValid);

  const int32_t nobs = get_i32(bytes, 0);
  const int32_t nvars = get_i32(bytes, 4);
  if (const ReadError e = check_counts(nobs, nvars); e != ReadError::kNone) return refuse(e);
  Shape shape;
  shape.nobs = nobs;
  shape.nvars = nvars;
  shape.frequency = get_i32(bytes, 8);
  shape.periods_per_year = get_i32(bytes, 12);
  if (obs_calendar::periods_per_year(shape.frequency) == 0 ||
      shape.periods_per_year != obs_calendar::periods_per_year(shape.frequency))
    return refuse(ReadError::kNotValid);
  if (!host_start(shape.frequency, get_i32(bytes, 16), get_i32(bytes, 20), get_i32(bytes, 24),
                  shape))
    return refuse(ReadError::kNotValid);

  const auto n = static_cast<std::size_t>(nobs);
  const auto k = static_cast<std::size_t>(nvars);
  const std::size_t name_records = ceil_div(k, kEntriesPerNameRecord);
  const std::size_t records_per_var = ceil_div(n, kValuesPerRecord);
  const std::size_t long_start = kRecordSize * (1 + name_records + k * records_per_var);
  if (bytes.size() < long_start) return refuse(ReadError::kNotValid);

  DataSet& set = result.data_set;
  set.shape = shape;
  set.names.resize(k);
  set.descriptions.resize(k);
  for (std::size_t v = 0; v < k; ++v) {
    const std::size_t at = kRecordSize * (1 + v / kEntriesPerNameRecord) +
                           kEntryBytes * (v % kEntriesPerNameRecord);
    set.names[v] = get_text(bytes, at, kNameBytes);
    set.descriptions[v] = get_text(bytes, at + kNameBytes, kShortDescBytes);
  }
  set.data.resize(n * k);
  const std::size_t data_start = kRecordSize * (1 + name_records);
  for (std::size_t v = 0; v < k; ++v)
    for (std::size_t t = 0; t < n; ++t)
      set.data[v * n + t] = get_f64(bytes, data_start + kRecordSize * (v * records_per_var +
                                                                       t / kValuesPerRecord) +
                                               8 * (t % kValuesPerRecord));

  // Long descriptions: whole records only; a file that ends early keeps what it has.
  const std::size_t long_records = std::min(ceil_div(k, kLongDescsPerRecord),
                                            (bytes.size() - long_start) / kRecordSize);
  const std::size_t long_count = std::min(k, long_records * kLongDescsPerRecord);
  for (std::size_t v = 0; v < long_count; ++v)
    set.descriptions[v] = get_text(bytes, long_start + kLongDescBytes * v, kLongDescBytes);
  result.long_descriptions = long_count == k;
  return result;
}

ReadResult read_file(const std::filesystem::path& path) {
  const file_reading::Contents file = file_reading::read_all(path);
  if (file.failure != file_reading::Failure::kNone) {
    ReadResult result;
    result.error = ReadError::kCannotOpen;
    result.system_message = file.system_message;
    return result;
  }
  return decode(std::span(reinterpret_cast<const unsigned char*>(file.bytes.data()), file.bytes.size()));
}

ReadError check_shape(const Shape& s) {
  if (const ReadError e = check_counts(s.nobs, s.nvars); e != ReadError::kNone) return e;
  if (obs_calendar::periods_per_year(s.frequency) == 0) return ReadError::kNotValid;
  return ReadError::kNone;
}

ReadError check(const DataSet& set) {
  const Shape& s = set.shape;
  if (const ReadError e = check_shape(s); e != ReadError::kNone) return e;
  const auto k = static_cast<std::size_t>(s.nvars);
  if (set.names.size() != k || set.descriptions.size() != k ||
      set.data.size() != k * static_cast<std::size_t>(s.nobs))
    return ReadError::kNotValid;
  return ReadError::kNone;
}

std::vector<unsigned char> encode(const DataSet& set) {
  const Shape& s = set.shape;
  std::vector<unsigned char> out(file_size_for(s), 0);
  const bool dated_within_year = s.frequency > 2;
  put_i32(out, 0, s.nobs);
  put_i32(out, 4, s.nvars);
  put_i32(out, 8, s.frequency);
  put_i32(out, 12, obs_calendar::periods_per_year(s.frequency));
  put_i32(out, 16, s.frequency == 1 ? 1 : s.start_year);
  put_i32(out, 20, dated_within_year ? s.start_period : 0);
  put_i32(out, 24, dated_within_year ? s.century_base : 0);

  const auto n = static_cast<std::size_t>(s.nobs);
  const auto k = static_cast<std::size_t>(s.nvars);
  for (std::size_t v = 0; v < k; ++v) {
    const std::size_t at = kRecordSize * (1 + v / kEntriesPerNameRecord) +
                           kEntryBytes * (v % kEntriesPerNameRecord);
    put_text(out, at, set.names[v], kNameBytes);
    put_text(out, at + kNameBytes, set.descriptions[v], kShortDescBytes);
  }
  const std::size_t records_per_var = ceil_div(n, kValuesPerRecord);
  const std::size_t data_start = kRecordSize * (1 + ceil_div(k, kEntriesPerNameRecord));
  for (std::size_t v = 0; v < k; ++v)
    for (std::size_t t = 0; t < n; ++t)
      put_f64(out, data_start + kRecordSize * (v * records_per_var + t / kValuesPerRecord) +
                       8 * (t % kValuesPerRecord),
              set.data[v * n + t]);
  const std::size_t long_start = data_start + kRecordSize * k * records_per_var;
  for (std::size_t v = 0; v < k; ++v)
    put_text(out, long_start + kLongDescBytes * v, set.descriptions[v], kLongDescBytes);
  return out;
}

WriteResult write_file(const std::filesystem::path& path, const DataSet& set) {
  WriteResult result;
  if (check(set) != ReadError::kNone) {
    result.system_message = "The data set does not fit a ZVD file";
    return result;
  }
  if (const file_reading::Failure target = file_reading::writable_target(path); target != file_reading::Failure::kNone) {
    result.system_message = file_reading::describe(target);
    return result;
  }
  const std::vector<unsigned char> bytes = encode(set);
  const atomic_file::Outcome outcome = atomic_file::replace(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  result.ok = outcome.failure == atomic_file::Failure::kNone;
  result.disk_full = outcome.failure == atomic_file::Failure::kWrite;
  result.system_message = outcome.system_message;
  return result;
}

std::string write_error_message(const WriteResult& result) {
  return "Could not save to this file\n" + result.system_message;
}

}  // namespace zvd
