#include "engine/core/result_tables.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/core/channels.h"
#include "engine/core/number_format.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/results_page.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr int kFittedOffset = kResultOffsets[6];    // 15000
constexpr int kResidualOffset = kResultOffsets[7];  // 18000
constexpr int kArdlLongRun = 80;

std::string blank_line() { return std::string(kTableWidth, ' '); }

/// Puts `text` at column `column` (from 1) of `line`, cut at the line's end.
void put_at(std::string& line, int column, std::string_view text) {
  const auto at = static_cast<std::size_t>(column - 1);
  if (at >= line.size()) return;
  line.replace(at, std::min(text.size(), line.size() - at), text.substr(0, line.size() - at));
}

/// Length of `text` without its leading and trailing blanks.
int trimmed_length(std::string_view text) { return static_cast<int>(fixed_text::trim(text).size()); }

template <typename ItemAt>
void write_items(int n, int per_line, int width, int gap, int channel, ItemAt item_at) {
  if (n <= 0 || per_line <= 0 || width <= 0) return;
  const int lines = n / per_line + (n % per_line != 0 ? 1 : 0);
  for (int l = 0; l < lines; ++l) {
    std::string line = blank_line();
    int column = 2;
    for (int k = l * per_line; k < std::min((l + 1) * per_line, n); ++k) {
      put_at(line, column, fixed_text::pad(item_at(k), static_cast<std::size_t>(width)));
      column += width + gap;
    }
    WRITELINE(line, channel);
  }
}

bool plain_residual(int method_code) {
  constexpr std::array<int, 11> kCodes = {1, 5, 14, 15, 17, 70, 78, 79, 80, 81, 82};
  return std::find(kCodes.begin(), kCodes.end(), method_code) != kCodes.end();
}

/// Element (i, j) (from 1) of a packed symmetric matrix.
double packed(std::span<const double> matrix, int i, int j) {
  const long m = std::max(i, j), k = std::min(i, j);
  const long at = m * (m - 1) / 2 + k - 1;
  return at < static_cast<long>(matrix.size()) ? matrix[static_cast<std::size_t>(at)] : limits::kMissing;
}

/// The adjusted-variance line of a parameter matrix (blank when none applies).
std::string adjusted_variance_line() {
  const Globals& g = globals();
  std::string line = blank_line();
  struct Text {
    int gap;
    std::string_view text;
  };
  constexpr std::array<Text, 5> kTexts = {{{13, "Adjusted White's Heteroscedasticity-Consistent Estimates"},
                                           {8, "Newey-West adjusted estimates, equal"},
                                           {6, "Newey-West adjusted estimates, Bartlett"},
                                           {6, "Newey-West adjusted estimates, Tukey"},
                                           {7, "Newey-West adjusted estimates, Parzen"}}};
  const int kind = g.adjusted_variance_kind;
  if (kind < 2 || kind > 6) return line;
  const Text& t = kTexts[static_cast<std::size_t>(kind - 2)];
  APPENDTEXT(line, t.gap, t.text);
  if (kind >= 3) {
    APPENDTEXT(line, 1, "weights, truncation lag=");
    APPENDINTEGER(line, 1, g.truncation_lag);
  }
  return line;
}

std::string_view covariance_title(int kind, int method_code) {
  switch (kind) {
    case kParameterMatrix:
      return method_code == kArdlLongRun
                 ? "Estimated Variance-Covariance Matrix of Long Run Coefficients (ARDL Approach)"
                 : "Estimated Variance-Covariance Matrix of parameters";
    case kCorrelationMatrix: return "Estimated Correlation Matrix of Variables";
    case kFunctionMatrix: return "Estimated Variance Matrix of the Function(s) of the Parameters";
    case kSystemErrors: return "Estimated System Covariance Matrix of Errors";
    default: return "";
  }
}

void write_centred(std::string_view text, int channel) {
  std::string line = fixed_text::pad(text, kTableWidth);
  JUSTIFYTEXT(line, kTableWidth, 'C');
  WRITELINE(line, channel);
}

/// Restores an integer when it leaves scope.
class Restore {
 public:
  explicit Restore(int& word) : word_(word), saved_(word) {}
  ~Restore() { word_ = saved_; }
  Restore(const Restore&) = delete;
  Restore& operator=(const Restore&) = delete;

 private:
  int& word_;
  int saved_;
};

}  // namespace

void WRITETABLEROW(std::string_view label, int label_gap, std::span<std::string> names, int count, int most,
                   int width, int gap, int channel) {
  std::string line = fixed_text::pad(label, kTableWidth).substr(0, kTableWidth);
  int column = label_gap + trimmed_length(label) + 1;
  const int fields = std::clamp(std::min(count, most), 0, static_cast<int>(names.size()));
  for (int k = 0; k < fields && width > 0; ++k) {
    const std::string centred = CENTRENAME(names[static_cast<std::size_t>(k)]);
    put_at(line, column, fixed_text::pad(centred, static_cast<std::size_t>(width)).substr(0, static_cast<std::size_t>(width)));
    column += width + gap;
  }
  WRITELINE(line, channel);
}

void WRITENAMELIST(std::span<const std::string> items, int n, int channel, int per_line, int width, int gap) {
  n = std::min(n, static_cast<int>(items.size()));
  write_items(n, per_line, width, gap, channel,
              [&](int k) -> std::string_view { return items[static_cast<std::size_t>(k)]; });
}

void WRITENAMELIST2(std::span<const std::string> items, std::span<const int> index, int n, int channel,
                    int per_line, int width, int gap) {
  n = std::min(n, static_cast<int>(index.size()));
  write_items(n, per_line, width, gap, channel, [&](int k) -> std::string_view {
    const int i = index[static_cast<std::size_t>(k)];
    return i >= 1 && i <= static_cast<int>(items.size()) ? std::string_view(items[static_cast<std::size_t>(i - 1)])
                                                         : std::string_view();
  });
}

void PRINTFITTED(int n, int offset, std::span<const double> actual, int method_code, int channel, int& status) {
  if (n > 0 && static_cast<long>(actual.size()) < long{n} + kResidualOffset) {
    status = 1;
    return;
  }
  status = 0;
  std::string line = blank_line();
  APPENDTEXT(line, 0, " Observation");
  APPENDTEXT(line, 13, "Actual");
  APPENDTEXT(line, 13, "Fitted");
  if (plain_residual(method_code)) {
    APPENDTEXT(line, 13, "Residual");
  } else {
    APPENDTEXT(line, 7, "Transformed Residual");
  }
  WRITELINE(line, channel);
  for (int k = 1; k <= n; ++k) {
    const auto at = static_cast<std::size_t>(k - 1);
    line = blank_line();
    APPENDOBSLABEL(line, 2, offset + k);
    APPENDREAL(line, 14, ' ', actual[at]);
    APPENDREAL(line, 9, ' ', actual[at + kFittedOffset]);
    APPENDREAL(line, 10, ' ', actual[at + kResidualOffset]);
    WRITELINE(line, channel);
  }
  WRITESTARS(kMaxStars, channel);
}

void PRINTCOINTRANK(int model_case, const CointHeaderArgs& header, double tolerance, double marker, double ll0,
                    int channel) {
  WRITEPAGEBREAK(channel);
  std::string title = blank_line();
  SYSTEMMODELTITLE(title, model_case, channel);
  write_centred("Choice of the Number of Cointegrating Relations Using Model Selection Criteria", channel);
  COINTHEADER(header, channel, true);
  WRITELINE(fixed_text::pad(" Rank      Maximized LL        AIC             SBC             HQC", kTableWidth),
            channel);

  const int m = header.m, s = header.d, q = header.e, p = header.p, kb = header.k;
  const double n = header.n;
  double ll = ll0;
  for (int r = 0; r <= m; ++r) {
    const double lambda =
        r == 0 ? 0.0
               : (r <= static_cast<int>(header.eigenvalues.size()) ? header.eigenvalues[static_cast<std::size_t>(r - 1)]
                                                                   : 1.0);
    std::string line = blank_line();
    APPENDTEXT(line, 0, " r =");
    APPENDINTFIELD(line, 0, r, 2);
    if (ll == marker || !(1.0 - lambda >= tolerance)) {
      ll = marker;
      WRITELINE(line, channel);
      continue;
    }
    ll -= n / 2.0 * std::log(1.0 - lambda);
    double params = static_cast<double>(m) * s + static_cast<double>(p - 1) * m * (m + q) + static_cast<double>(r) * (m + kb - r);
    if (model_case == 3 || model_case == 4) params += m;
    if (model_case == 5) params += 2.0 * m;
    APPENDREAL(line, 5, ' ', ll);
    APPENDREAL(line, 6, ' ', ll - params);
    APPENDREAL(line, 6, ' ', ll - params / 2.0 * std::log(n));
    APPENDREAL(line, 6, ' ', ll - params * std::log(std::log(n)));
    WRITELINE(line, channel);
  }
  WRITESTARS(kMaxStars, channel);
  std::string line = blank_line();
  APPENDTEXT(line, 0, " AIC = Akaike Information Criterion");
  APPENDTEXT(line, 4, "SBC = Schwarz Bayesian Criterion");
  WRITELINE(line, channel);
  WRITELINE(fixed_text::pad(" HQC = Hannan-Quinn Criterion", kTableWidth), channel);
}

void PRINTTEXTBLOCK(std::string_view block) {
  for (const std::string& line : UNPACKLINES(block)) {
    if (line.find_first_not_of(' ') != std::string::npos) WRITELINE(" " + line, channel::kResultsPage);
  }
  WRITESTARS(kMaxStars, channel::kResultsPage);
}

void PRINTCOVMATRIX(int method_code, const std::function<void()>& based_on_header, std::span<std::string> names,
                    int& k, int kind, int columns_per_block, double scale, std::span<const double> matrix,
                    int rows_per_block) {
  constexpr int page = channel::kResultsPage;
  const Restore restore_k(k);
  if (method_code == kArdlLongRun) k = globals().ardl_long_run_count;
  SHOWRESULTS(kOpenPage);
  WRITEPAGEBREAK(page);

  const bool parameters = kind == kParameterMatrix;
  const int skip = parameters ? 1 : 0;  // the dependent variable heads the names of kind 1
  const int rows = std::clamp(k, 0, std::max(0, static_cast<int>(names.size()) - skip));
  const int cpb = std::max(columns_per_block, 1), rpb = std::max(rows_per_block, 1);
  const double factor = scale * scale;
  const int column_blocks = rows > 0 ? (rows - 1) / cpb + 1 : 0;
  const int row_blocks = rows > 0 ? (rows - 1) / rpb + 1 : 0;
  for (int cb = 0; cb < column_blocks; ++cb) {
    const int c0 = cb * cpb, c1 = std::min(rows, c0 + cpb);
    for (int rb = 0; rb < row_blocks; ++rb) {
      const int r0 = rb * rpb, r1 = std::min(rows, r0 + rpb);
      write_centred(covariance_title(kind, method_code), page);
      const std::span<std::string> heads = names.subspan(static_cast<std::size_t>(skip + c0));
      if (parameters) {
        WRITELINE(adjusted_variance_line(), page);
        if (based_on_header) based_on_header();
        WRITETABLEROW(" ", 18, heads, c1 - c0, 4, 14, 1, page);
      } else {
        WRITELINE("", page);
        WRITESTARS(kMaxStars, page);
        WRITETABLEROW(" ", 13, heads, c1 - c0, 6, 9, 1, page);
      }
      for (int i = r0; i < r1; ++i) {
        const std::string& name = names[static_cast<std::size_t>(skip + i)];
        std::string line = blank_line();
        const std::string label = parameters ? fixed_text::pad(fixed_text::trim(name), 14)
                                             : fixed_text::pad(fixed_text::trim(name), 9).substr(0, 9);
        put_at(line, 2, label);
        const int length = trimmed_length(label);
        for (int j = c0; j < c1; ++j) {
          const int gap = j == c0 ? (parameters ? 17 : 10) - length : (parameters ? 5 : 0);
          const double v = packed(matrix, i + 1, j + 1);
          APPENDREAL(line, gap, ' ', v == limits::kMissing ? v : factor * v);
        }
        WRITELINE(line, page);
        WRITELINE("", page);
      }
      if (cb + 1 < column_blocks || rb + 1 < row_blocks) WRITEPAGEBREAK(page);
    }
  }
  WRITESTARS(kMaxStars, page);
  SHOWRESULTS(kShowPage);
}

void PRINTORDERLINE(std::string& line, int p, int q, double value, double reference) {
  APPENDFDIST(line, 0, p, q);
  APPENDREAL(line, 0, '=', value);
  if (value != reference && APPENDPROB(line, ProbKind::kF, value, p, q)) {
    APPENDTEXT(line, 0, "*");
  } else {
    APPENDTEXT(line, 6, "*");
  }
}

}  // namespace qorv::core
