// The Wald test of restrictions on estimated parameters and the estimation of functions
// of them (delta method), typed by the user in the screen editor. One entry for every
// caller: a single equation with its standard or an adjusted variance matrix, logit and
// probit, and systems of equations, each filling a `WaldRequest`.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/diagnostics/parameter_relations.h"

namespace qorv::diagnostics {

/// What `WALDTEST` works on.
struct WaldRequest {
  RelationMode mode = RelationMode::kRestrictions;
  std::vector<double> estimates;   ///< the stacked estimates: block A, then B, ...
  std::vector<int> block_sizes;    ///< sizes of the blocks, in order (at most 26)
  std::vector<double> variance;    ///< packed covariance of the estimates, times `scale`
  double scale = 1.0;              ///< the factor of `variance` (SIGMA² when stored unscaled)
  bool exact_fit = false;          ///< the estimate fits exactly: refused before the editor
  bool system = false;             ///< a system of equations (its own texts)
  int df = 0;                      ///< degrees of freedom of the functions' t-ratios
  int limit = 0;                   ///< most relations
  /// Writes the names-to-parameters lines (editor panel and results page) on a channel;
  /// a system's lines come from its blocks instead.
  std::function<void(int channel)> assignment;
  /// Writes the estimate's header lines on the results page, after the title.
  std::function<void(int channel)> header;
};

/// The lines that assign the blocks of a system to its equations: " A1 to A<k> are
/// assigned to parameters of equation 1" and " B1 to B<m> are assigned to parameters of
/// equation 2 and so on." (from the first two blocks).
std::vector<std::string> system_assignment_lines(std::span<const int> block_sizes);

/// The ordinal word of `n` ("first", "second", ...; "21st" beyond twenty).
std::string ordinal_text(int n);

/// The refusal of the relation `index` (from 1) that cannot be compiled or computed.
std::string processing_message(int index);

/// Runs the editor dialogue on `text` (kept between attempts and returned as last
/// edited) and writes the results page. Returns true when a page was written; false on
/// cancel, an empty text, or a refusal before the editor.
bool WALDTEST(const WaldRequest& request, std::string& text);

}  // namespace qorv::diagnostics
