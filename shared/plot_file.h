// The plot file: the small text file in which the engine hands one graph to a graph window
// (titles, kind, date of the first point, series names and values). This is its one
// definition: the plot types and what each carries, a writer and a parser of the format.
//
// Layout (every record begins with one blank; records end with "\n", readers also take
// "\r\n"):
//   1  the title, trailing blanks cut (the blank alone for an empty title)
//   2  the second title, or "*" when the window chooses its own bottom title
//   3  graph kind code, series count (the x series included), points, marker/span
//   4  frequency code, year (first observation number when undated), period
//   then per series: a name record (" " + 14-character name, or three blanks) and one
//   value per record; for histograms the `points` class values and the 101 curve values
//   follow the series.
// Integers are plain decimal; reals the shortest text that reads back exactly (single
// precision where a series says so). Missing and non-finite values are 8934567.0. The
// parser reads numbers locale-free and accepts D exponents ("1.5D+02").
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plot_file {

/// Graph kinds as the file names them (record 3, first integer).
enum class Kind : int {
  kTime = 0,       ///< time plot over observations
  kXY = 1,         ///< lines against an x series
  kSpectrum = 2,   ///< spectral density against frequency
  kScatter = 3,    ///< points against an x series
  kHistogram = 4,  ///< class counts with a density curve
};
/// The kind code of a time plot over a horizon (impulse responses and the like).
inline constexpr int kHorizonCode = 6;

/// Plot type codes of the plot writer. Codes not listed draw as time plots.
enum class PlotType : int {
  kTime = 1,             ///< time plot of series
  kUnnamedSeries = 3,    ///< time plot whose series names are not shown
  kForecast = 4,         ///< time plot with a marker line at the end of the estimation sample
  kArParameter = 5,      ///< plot over the parameter of an AR error process
  kLagOrder = 6,         ///< against the order of lags
  kXY = 7,               ///< x-y plot against the last series
  kCriticalBounds = 8,   ///< recursive statistics with their 5% bounds
  kWindowSize = 9,       ///< against the window size
  kHistogramNormal = 17, ///< histogram and normal curve
  kHistogramT = 18,      ///< histogram and t-distribution curve
  kScatter = 27,         ///< scatter plot of the first two series
  kMaParameter = 50,     ///< plot over the parameter of an MA error process
  kSpectrum = 70,        ///< spectral density
  kHorizon = 600,        ///< time plot over a horizon
};

/// What a plot type writes.
struct TypeInfo {
  int kind_code = 0;         ///< record 3's kind code: 0..4, or kHorizonCode
  bool x_series = false;     ///< the last series is the x series (counted in record 3)
  bool blank_names = false;  ///< name records hold three blanks instead of the names
  bool span = false;         ///< record 3's fourth integer is last - first (else 0)
};

/// The table entry of `type`; any unknown code is a time plot (kind 0).
TypeInfo type_info(int type);

/// Record 2 for `type`: the writer's second title. `argument` is the writer's tenth
/// argument (the order of the AR or MA process, the window size).
std::string second_title(int type, int argument);

/// Number of values in the histogram's density curve.
inline constexpr int kCurvePoints = 101;

/// One series of the file.
struct Series {
  std::string name;             ///< up to 14 characters, trailing blanks cut
  std::vector<double> values;   ///< `points` values; the missing code marks a gap
  bool single_precision = false;  ///< written with float precision (the parameter grid)
};

/// The whole content of a plot file.
struct Plot {
  std::string title;         ///< record 1 without its leading blank, trailing blanks cut
  std::string second_title;  ///< record 2 without its leading blank, trailing blanks cut
  int kind_code = 0;         ///< record 3: 0..4, or kHorizonCode
  int points = 0;            ///< record 3: values per series (classes for a histogram)
  int marker = 0;            ///< record 3: the span; a time plot draws a marker line there
  int frequency = 1;         ///< record 4: 1 undated, 2 annual, 3 half-yearly, 4 quarterly, 5 monthly
  int first_year = 1;        ///< record 4: year, or the first observation number when undated
  int first_period = 1;      ///< record 4: period of the first point
  bool blank_names = false;  ///< name records are written as three blanks
  std::vector<Series> series;   ///< in file order; for kinds 1 to 3 the x series is last
  std::vector<double> classes;  ///< histogram class values (`points` of them)
  std::vector<double> curve;    ///< histogram density curve (kCurvePoints values)

  /// The kind, with the horizon code read as a time plot.
  Kind kind() const;
  /// True when the kind code is kHorizonCode.
  bool horizon() const { return kind_code == kHorizonCode; }
  /// True for kinds 1 to 3, whose last series is the x series.
  bool has_x_series() const;
  /// Series drawn: all series less the x series.
  int plotted_sets() const;
};

/// True for the missing-value code.
bool is_missing(double value);

/// `value` as the file writes it: shortest round-trip text, the missing code for a
/// non-finite value.
std::string format_real(double value);
/// Like `format_real` with single precision.
std::string format_single(float value);

/// The file text of `plot`. Record 3's series count is `plot.series.size()`. Cost O(values).
std::string format(const Plot& plot);

/// Parses a plot file's text. On failure returns nothing and, when `error` is given, puts a
/// short reason there (a short file, an unreadable number, a count of zero or less, a kind
/// or frequency outside its table). Cost O(text).
std::optional<Plot> parse(std::string_view text, std::string* error = nullptr);

/// Reads and parses the file at `path`; an unreadable file fails like a short one.
std::optional<Plot> read(const std::filesystem::path& path, std::string* error = nullptr);

}  // namespace plot_file
