#include "shared/plot_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "shared/exchange_slots.h"
#include "shared/file_reading.h"
#include "shared/fixed_text.h"

namespace plot_file {

TypeInfo type_info(int type) {
  switch (static_cast<PlotType>(type)) {
    case PlotType::kArParameter:
    case PlotType::kMaParameter: return {1, true, true, false};
    case PlotType::kXY: return {1, true, false, true};
    case PlotType::kSpectrum: return {2, true, false, true};
    case PlotType::kScatter: return {3, true, false, true};
    case PlotType::kHistogramNormal:
    case PlotType::kHistogramT: return {4, false, false, false};
    case PlotType::kHorizon: return {kHorizonCode, false, false, false};
    case PlotType::kUnnamedSeries:
    case PlotType::kLagOrder:
    case PlotType::kCriticalBounds:
    case PlotType::kWindowSize: return {0, false, true, false};
    case PlotType::kForecast: return {0, false, false, true};
    default: return {0, false, false, false};
  }
}

std::string second_title(int type, int argument) {
  auto with_order = [argument](std::string_view text) {
    // The order sits in columns 55 to 57, right-aligned.
    std::string out = fixed_text::pad(text, 54);
    const std::string order = std::to_string(argument);
    if (order.size() < 3) out.append(3 - order.size(), ' ');
    return out + order;
  };
  switch (static_cast<PlotType>(type)) {
    case PlotType::kArParameter:
      return with_order("Parameter of the autoregressive error process of order");
    case PlotType::kMaParameter:
      return with_order("Parameter of the moving-average error process of order");
    case PlotType::kLagOrder: return "Order of lags";
    case PlotType::kCriticalBounds:
      return "The straight lines represent critical bounds at 5% significance level";
    case PlotType::kWindowSize:
      return argument != 0 ? "Window size " + std::to_string(argument) : "*";
    default: return "*";
  }
}

Kind Plot::kind() const {
  return kind_code == kHorizonCode ? Kind::kTime : static_cast<Kind>(kind_code);
}

bool Plot::has_x_series() const {
  return kind_code == 1 || kind_code == 2 || kind_code == 3;
}

int Plot::plotted_sets() const {
  const int n = static_cast<int>(series.size());
  return has_x_series() ? n - 1 : n;
}

bool is_missing(double value) { return value == limits::kMissing; }

namespace {

template <typename T>
std::string shortest(T value) {
  std::array<char, 64> buf{};
  const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value);
  return std::string(buf.data(), res.ptr);
}

void put_record(std::string& out, std::string_view text) {
  out += ' ';
  out += text;
  out += '\n';
}

}  // namespace

std::string format_real(double value) {
  return shortest(std::isfinite(value) ? value : limits::kMissing);
}

std::string format_single(float value) {
  return std::isfinite(value) ? shortest(value) : format_real(limits::kMissing);
}

std::string format(const Plot& plot) {
  std::string out;
  put_record(out, fixed_text::trim_right(plot.title));
  put_record(out, fixed_text::trim_right(plot.second_title));
  put_record(out, std::to_string(plot.kind_code) + ' ' + std::to_string(plot.series.size()) +
                      ' ' + std::to_string(plot.points) + ' ' + std::to_string(plot.marker));
  put_record(out, std::to_string(plot.frequency) + ' ' + std::to_string(plot.first_year) + ' ' +
                      std::to_string(plot.first_period));
  for (const Series& s : plot.series) {
    put_record(out, plot.blank_names ? std::string(3, ' ') : fixed_text::pad(s.name, 14));
    for (double v : s.values) {
      const bool as_float = s.single_precision && std::fabs(v) <= std::numeric_limits<float>::max();
      put_record(out, as_float ? format_single(static_cast<float>(v)) : format_real(v));
    }
  }
  for (double v : plot.classes) put_record(out, format_real(v));
  for (double v : plot.curve) put_record(out, format_real(v));
  return out;
}

namespace {

bool is_separator(char c) { return c == ' ' || c == '\t' || c == ','; }

/// A title or name as read: trailing blanks, NULs and carriage returns cut, so that what is
/// written back with its line end reads the same.
std::string text_field(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0' || text.back() == '\r'))
    text.remove_suffix(1);
  return std::string(text);
}

/// Record-oriented free-format reading: each read starts on a new record, takes items
/// across records as needed and drops the rest of its last record.
class RecordReader {
 public:
  explicit RecordReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
  }

  /// The next record without its line end; false at the end of the text.
  bool record(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    const std::size_t end = text_.find('\n', pos_);
    const std::size_t stop = end == std::string_view::npos ? text_.size() : end;
    line = text_.substr(pos_, stop - pos_);
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // "\r\n", or doubled
    pos_ = end == std::string_view::npos ? text_.size() : end + 1;
    ++records_;
    return true;
  }

  /// The record's text without its one leading blank, trailing blanks cut.
  bool text_record(std::string& out) {
    std::string_view line;
    if (!record(line)) return false;
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    out = text_field(line);
    return true;
  }

  /// `n` blank- or comma-separated items from the next records.
  bool items(std::size_t n, std::vector<std::string_view>& out) {
    out.clear();
    std::string_view line;
    while (out.size() < n) {
      if (!record(line)) return false;
      std::size_t i = 0;
      while (i < line.size() && out.size() < n) {
        while (i < line.size() && is_separator(line[i])) ++i;
        const std::size_t start = i;
        while (i < line.size() && !is_separator(line[i])) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
      }
    }
    return true;
  }

  int records() const { return records_; }

 private:
  std::string_view text_;  ///< the whole file
  std::size_t pos_ = 0;    ///< start of the next record
  int records_ = 0;        ///< records read so far
};

bool parse_int(std::string_view token, int& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  const auto res = std::from_chars(token.data(), token.data() + token.size(), value);
  return res.ec == std::errc() && res.ptr == token.data() + token.size();
}

bool parse_real(std::string_view token, double& value) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty() || token.size() > 64) return false;
  std::array<char, 64> buf{};
  for (std::size_t i = 0; i < token.size(); ++i) {
    const char c = token[i];
    buf[i] = (c == 'D' || c == 'd') ? 'E' : c;
  }
  const auto res = std::from_chars(buf.data(), buf.data() + token.size(), value);
  if (res.ec != std::errc() || res.ptr != buf.data() + token.size()) return false;
  if (!std::isfinite(value)) value = limits::kMissing;
  return true;
}

struct Failure {
  std::string* error;  ///< where the reason goes, or null
  std::optional<Plot> operator()(const std::string& why) const {
    if (error != nullptr) *error = why;
    return std::nullopt;
  }
};

bool read_values(RecordReader& in, std::size_t count, std::vector<double>& out) {
  std::vector<std::string_view> item;
  out.clear();
  for (std::size_t i = 0; i < count; ++i) {
    double v = 0.0;
    if (!in.items(1, item) || !parse_real(item[0], v)) return false;
    out.push_back(v);
  }
  return true;
}

}  // namespace

std::optional<Plot> parse(std::string_view text, std::string* error) {
  const Failure fail{error};
  RecordReader in(text);
  Plot plot;
  if (!in.text_record(plot.title) || !in.text_record(plot.second_title))
    return fail("the file ends before its header");

  std::vector<std::string_view> items;
  int declared_series = 0;
  if (!in.items(4, items)) return fail("the file ends before its header");
  if (!parse_int(items[0], plot.kind_code) || !parse_int(items[1], declared_series) ||
      !parse_int(items[2], plot.points) || !parse_int(items[3], plot.marker))
    return fail("unreadable number in record " + std::to_string(in.records()));
  if (!in.items(3, items)) return fail("the file ends before its header");
  if (!parse_int(items[0], plot.frequency) || !parse_int(items[1], plot.first_year) ||
      !parse_int(items[2], plot.first_period))
    return fail("unreadable number in record " + std::to_string(in.records()));

  const bool known_kind =
      (plot.kind_code >= 0 && plot.kind_code <= 4) || plot.kind_code == kHorizonCode;
  if (!known_kind) return fail("unknown graph kind " + std::to_string(plot.kind_code));
  if (plot.frequency < 1 || plot.frequency > 5)
    return fail("unknown frequency " + std::to_string(plot.frequency));
  if (declared_series < (plot.has_x_series() ? 2 : 1) || plot.points < 1)
    return fail("no series or no points");

  const auto count = static_cast<std::size_t>(plot.points);
  for (int s = 0; s < declared_series; ++s) {
    Series series;
    std::string_view name;
    if (!in.record(name)) return fail("the file ends in series " + std::to_string(s + 1));
    if (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    series.name = text_field(name.substr(0, 14));
    if (!read_values(in, count, series.values))
      return fail("short or unreadable series " + std::to_string(s + 1));
    plot.series.push_back(std::move(series));
  }
  if (plot.kind() == Kind::kHistogram) {
    if (!read_values(in, count, plot.classes)) return fail("short or unreadable class values");
    if (!read_values(in, kCurvePoints, plot.curve)) return fail("short or unreadable density curve");
  }
  return plot;
}

std::optional<Plot> read(const std::filesystem::path& path, std::string* error) {
  const file_reading::Contents file = file_reading::read_all(path);
  if (file.failure != file_reading::Failure::kNone) {
    if (error != nullptr) *error = "cannot read " + path.string() + ": " + file.system_message;
    return std::nullopt;
  }
  return parse(file.bytes, error);
}

}  // namespace plot_file
