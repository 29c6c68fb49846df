// The restriction editor: the user types linear restrictions on the cointegrating vectors
// (or on the coefficients of a SURE system) in the screen editor, beside a panel that
// names the parameters, until the text reads or the user leaves.
#pragma once

#include <span>
#include <string>

#include "engine/diagnostics/restriction_text.h"

namespace qorv::multi {

/// Lines of the editor text kept between calls, and their width.
inline constexpr int kRestrictionLines = 40;
inline constexpr int kRestrictionWidth = 78;

inline constexpr std::string_view kSureReminderText =
    "Please specify restriction(s) on the SURE model or press Esc to quit!";

/// What the panel shows beside the editor.
struct RestrictionEditRequest {
  diagnostics::RestrictionSizes sizes;
  int title_code = 3;                         ///< the model title: 1 to 5 the cases, -1 SURE
  std::span<const std::string> names;         ///< kinds 1 to 3: the m names of the vector
  std::span<const std::string> exogenous;     ///< kinds 1 to 3: the I(1) exogenous names
  std::span<const std::string> stationary;    ///< kinds 1 to 3: the I(0) names
  std::span<const std::string> system_lines;  ///< kind 4: the SURE system text, line by line
};

/// The editor's help kind (above 100, so also its help topic): the SURE restrictions, or the
/// structural-modelling option `choice` (1 some vectors fixed, 2 the same restrictions on
/// all, 3 restrictions on one, 6 all vectors fixed, any other the general restrictions).
int restriction_help_kind(diagnostics::RestrictionKind kind, int choice);

/// `RESTRICTEDIT`: the editor loop over `text`, the caller's restriction text that is kept
/// between calls (40 × 78 characters, blank-padded; the results pages print it). A text that does not read shows its message (or beeps,
/// when the count is outside the kind's bounds) and the editor again with the text as it
/// stood. Returns the accepted restrictions, or k = 0 when the user cancelled, left an
/// empty text (kinds 1 to 3), or gave option 3 fewer than r restrictions (message-file
/// lines 132 to 137).
diagnostics::RestrictionParse RESTRICTEDIT(const RestrictionEditRequest& request, std::string& text);

}  // namespace qorv::multi
