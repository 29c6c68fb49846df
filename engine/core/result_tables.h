// Table writers shared by the estimation, testing and data reports: heading rows of names
// centred over number columns, name lists, the listing of actual and fitted values, the
// rank-selection table of the cointegrating VAR, a typed restriction text, a titled
// symmetric matrix in pages of blocks, and the F-statistic line. Lines are 79 columns,
// built with the appenders and written with `WRITELINE` on the caller's channel; every
// number is a 10-column field (a blank and the 9-column `FORMATREAL9` text).
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "engine/core/system_headers.h"

namespace qorv::core {

/// Columns of a table line.
inline constexpr int kTableWidth = 79;

/// One heading row: `label` from column 1, then min(count, most) names, each centred by
/// `CENTRENAME` (which left-justifies the name in `names`) and cut to `width` columns, the
/// first `label_gap` columns after the label's text (leading and trailing blanks not
/// counted), each next one `width` + `gap` columns further on.
void WRITETABLEROW(std::string_view label, int label_gap, std::span<std::string> names, int count, int most,
                   int width, int gap, int channel);

/// The first `n` items, `per_line` to a line from column 2, each cut or blank-filled to
/// `width` columns, `gap` columns apart. Nothing for n <= 0.
void WRITENAMELIST(std::span<const std::string> items, int n, int channel, int per_line = 5, int width = 14,
                   int gap = 2);

/// As `WRITENAMELIST`, the k-th item written being item `index[k]` (from 1); an index
/// outside the items writes a blank item.
void WRITENAMELIST2(std::span<const std::string> items, std::span<const int> index, int n, int channel,
                    int per_line = 5, int width = 14, int gap = 2);

/// The listing of actual and fitted values with residuals for observations offset + 1 ..
/// offset + n. `actual[k - 1]` is the k-th actual value; the fitted value and the
/// residual lie 15000 and 18000 elements further on. The last column is "Residual" for
/// the method codes 1, 5, 14, 15, 17, 70, 78 to 82 and "Transformed Residual" otherwise.
/// `status` is 0, or 1 (nothing written) when `actual` is too short for n values.
void PRINTFITTED(int n, int offset, std::span<const double> actual, int method_code, int channel, int& status);

/// The rank-selection table of the cointegrating VAR for `model_case` 1..5: log-likelihood,
/// AIC, SBC and HQC for ranks 0..m, starting from the rank-0 log-likelihood `ll0`. Once
/// 1 - eigenvalue falls below `tolerance`, or the log-likelihood equals `marker`, that
/// rank and every higher one print the rank alone.
void PRINTCOINTRANK(int model_case, const CointHeaderArgs& header, double tolerance, double marker, double ll0,
                    int channel);

/// The typed restriction text `block` (40 lines of 78): every line that is not blank as
/// a blank and its 78 columns, then a rule of 79 stars, on the results page.
void PRINTTEXTBLOCK(std::string_view block);

/// Kinds of `PRINTCOVMATRIX`.
enum CovarianceKind : int {
  kParameterMatrix = 1,   ///< estimated variance-covariance matrix of the parameters
  kCorrelationMatrix = 2, ///< correlation matrix of variables
  kFunctionMatrix = 3,    ///< variance matrix of functions of the parameters
  kSystemErrors = 4,      ///< system covariance matrix of errors
};

/// A whole results page holding the symmetric matrix `matrix` (packed, k x k) in blocks of
/// `rows_per_block` rows and `columns_per_block` columns, every entry scaled by scale².
/// Kind 1 heads each block with the adjusted-variance line (from the engine words), the
/// estimate's header written by `based_on_header` (the "Based on ..." lines; may be
/// empty), and the names from the second on (the first is the dependent variable); the
/// other kinds with their title, a rule and the names from the first. For method code 80
/// k is the ARDL long-run count for the call and is restored afterwards. A page open on
/// entry is shown first. Rows or names missing for k give a page of the rows that fit.
void PRINTCOVMATRIX(int method_code, const std::function<void()>& based_on_header, std::span<std::string> names,
                    int& k, int kind, int columns_per_block, double scale, std::span<const double> matrix,
                    int rows_per_block);

/// Appends "F(" p ", " q ")" "=" and the 9-column value, then the F probability in
/// brackets and "*", or, when the value equals `reference` (or has no probability), "*"
/// six columns on, so that the "*" stands in the same column either way.
void PRINTORDERLINE(std::string& line, int p, int q, double value, double reference);

}  // namespace qorv::core
