// The text of clipboard transfers, as spreadsheets copy and paste it: fields separated by
// tabs, one observation a line, names (and descriptions) in the first rows, numbers in the
// user's locale and "*NONE*" for a missing value.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "app/host_workspace.h"

namespace zelvorin {

/// What heads the columns: a names row and a descriptions row, a names row only (a name
/// field may carry its description after a blank), or no header rows.
enum class HeaderRows { kNamesAndDescriptions = 0, kNames = 1, kNone = 2 };

/// The longest text the clipboard takes from us or gives us.
inline constexpr int kClipboardLimit = 32766;

/// The copied block: variables and observations from 1, both ranges inclusive.
struct CopyBlock {
  int first_var = 1;
  int last_var = 1;
  int first_obs = 1;
  int last_obs = 1;
  HeaderRows header = HeaderRows::kNames;
};

/// The size the block's text is expected to take: (20 x (last - first observation) + 112)
/// characters per variable. Above 100000 the block is refused before any text is built.
long copy_size_estimate(const CopyBlock& block);
inline constexpr long kCopyEstimateLimit = 100000;

/// A value as a cell shows it: the shortest general form in the user's locale, without
/// thousands separators; "*NONE*" for the missing code.
QString value_text(double value);

/// The block as text (CRLF line ends). The block must lie inside the data set.
QString copy_text(const HostWorkspace& ws, const CopyBlock& block);

/// What the pasted text holds, as the user described it, and the size the data set was
/// given.
struct PasteLayout {
  HeaderRows header = HeaderRows::kNames;
  bool label_column = true;  ///< the first field of every row is an observation label, skipped
  int nobs = 0;
  int nvars = 0;
};

/// A pasted data set: names, descriptions and values (variable after variable, leading
/// dimension nobs) of the counts found. `error` is set when the text was refused.
struct PastedData {
  int nobs = 0;
  int nvars = 0;
  std::vector<std::string> names;
  std::vector<std::string> descs;
  std::vector<double> values;
  bool mismatch = false;  ///< the counts found differ from the layout's
  QString error;
};

/// Reads spreadsheet text (CRLF or LF line ends, a trailing tab allowed). Without header
/// rows the variables are named X1, X2, ... A field that is no number, an empty one and
/// one missing from a short row are the missing code. Refused: text of more than
/// `kClipboardLimit` characters, a name the name rule refuses, no data, and counts
/// beyond what the workspace holds.
PastedData PasteDataFromClipboard(const QString& text, const PasteLayout& layout);

}  // namespace zelvorin
