// The pages and the results menu of the dynamic analyses of a system: impulse responses,
// variance decompositions and persistence profiles over horizons 0..H, shown as a table,
// plotted and saved as an undated data file.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qorv::multi {

/// The table of one analysis and how to report it.
struct ResponseReport {
  int kind = 1;                     ///< 1..4 (7 persistence profiles); picks the menu title
  std::string title;                ///< the report's title line, before centring
  std::vector<std::string> labels;  ///< one per column
  std::vector<double> table;        ///< (H + 1) × labels column-major
  int horizon = 0;                  ///< H
  int chosen = 1;                   ///< the column offered first for the graph (from 1)
  std::function<void()> header;     ///< writes the model title and header on the results page
};

/// Asks the horizon of kind `kind` (the responses' or the decompositions' prompt) up to
/// 150, offering 50. A value above 150 or below 0 beeps and asks again. Returns the
/// horizon, or 0 when the user left (0 or cancel).
int ask_horizon(int kind);

/// Asks a horizon with the prompt `head` followed by the maximum 150 and "zero to quit)?",
/// offering `offered`. A value above 150 or below 0 beeps and asks again. Returns the
/// horizon, or 0 when the user left (0 or cancel).
int ask_horizon(std::string_view head, int offered);

/// Writes and shows the report page: the centred title, the header, the table in blocks
/// of at most six columns (" Horizon" and the labels, one row per horizon) and a rule.
void write_response_page(const ResponseReport& report);

/// The results menu (1024) over a report already shown: display again, graph (the
/// chosen columns against the horizons), save as a ZVD data file; option 0 returns.
void response_results_menu(const ResponseReport& report);

}  // namespace qorv::multi
