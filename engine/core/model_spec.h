// The specification screens: the one dialogue through which every estimator and test asks
// for a list of variables (a regression, instruments, a VAR or cointegration list, an
// ARDL list, variables to add or drop), with its explanatory panel, its title, its checks
// and its retries, and the saved texts that the screens show again on the next visit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/core/new_names.h"
#include "engine/core/var_lists.h"

namespace qorv::core {

/// What a specification screen asks for and what it shows about the current model.
struct SpecRequest {
  int kind = 0;                       ///< specification kind (0 regression, 5 instruments, 17 system list, ...)
  int sub_kind = 0;                   ///< kind 17: 0 ARDL, 1 AR/VAR, 2 cointegration
  std::string item_word = "regressor";  ///< the word the panel and messages use ("regressor", "instrument")
  std::string model_dependent;        ///< the current model's dependent variable (panels; entry 0 of lists without their own)
  std::vector<std::string> model_names;   ///< the current model's regressors, or the VAR's variables (kind 123)
  std::vector<std::string> second_names;  ///< kind 25 the existing instruments; kind 123 the deterministic variables
  std::vector<std::string> formula;   ///< kind 15: the lines of the non-linear formula
  std::string concerned;              ///< kind 26: the variable the auxiliary regression is for
  int required = 0;                   ///< instrument kinds: the model's regressors; 24: exactly; 25: at least
};

/// What the screen returns.
struct SpecResult {
  bool cancelled = true;      ///< the user cancelled; nothing else is set
  std::vector<int> numbers;   ///< variable numbers, the dependent variable first where the kind has one
  std::vector<std::string> names;     ///< their names, parallel to `numbers`
  std::vector<RecordEntry> record;    ///< kinds 0, 22, 26, 81, 92, 93: number and lag of each entry
  int after_ampersand = 0;    ///< kind 17: variables after "&"; cointegration 1000 * that + exogenous I(1)
};

/// Families of saved texts: each keeps the last text and cursor of its kinds.
enum SpecFamily : int { kGeneralFamily = 0, kInstrumentFamily = 1, kVarFamily = 2 };

/// The family whose saved text a kind shows (kind 70 starts blank and leaves its text in
/// the instrument family).
SpecFamily spec_family(int kind);

/// The saved text (3120 characters) and cursor of a family.
struct SavedSpec {
  std::string text;     ///< blank on the first visit
  EditorCursor cursor;  ///< where the editor's cursor was
};
SavedSpec& saved_spec(SpecFamily family);

/// True for the instrument kinds (5, 8, 9, 12, 13, 15, 19, 61).
bool is_instrument_kind(int kind);

/// True for the kinds whose first word is their own dependent variable.
bool has_dependent(int kind);

/// Asks the specification of `request.kind`: writes the panel, sets the title, shows the
/// editor over the family's saved text (or takes a preset text from character setting 3
/// once, blanking it, and shows the editor only when it fails) and checks the accepted
/// text; every refusal is shown with its message and the editor comes back holding the
/// text as typed, until the text passes or the user cancels. The text as typed and the
/// cursor go back to the family's slot. Lags and leads the workspace lacks are created as
/// registered temporary variables. Cost: one list reading per attempt.
SpecResult SPECIFYMODEL(const SpecRequest& request);

/// The cointegration text split at its first ";": `endogenous` is the part before it,
/// `exogenous` the part after it (blank when the ";" is the last non-blank character);
/// a text without ";" is all endogenous.
struct SemicolonSplit {
  std::string endogenous;  ///< before the ";"
  std::string exogenous;   ///< after it
};
SemicolonSplit split_at_semicolon(std::string_view text);

/// Reads the exogenous I(1) part of a cointegration text (after its ";") into `list`;
/// `count` out: how many it added. Returns the error flag (the refusal has been shown).
bool PARSEAFTERSEMICOLON(std::string_view exogenous, VarList& list, int& count);

}  // namespace qorv::core
