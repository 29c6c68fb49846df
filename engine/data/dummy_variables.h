// Creating a constant, a time trend or seasonal dummies in the workspace: the Dummy
// Variable Creation Menu of the Data Processing Menu and the main program's buttons.
#pragma once

#include <string_view>
#include <vector>

namespace qorv::data {

/// The menu's actions (and the main program's function numbers in slot 17).
enum DummyAction : int {
  kDummyBack = 0,        ///< "Move to Data Processing Menu"
  kConstant = 1,         ///< 1.0 at every observation
  kTimeTrend = 2,        ///< 1, 2, ..., NOBS
  kSeasonal = 3,         ///< (0,1) seasonal dummies
  kCentredSeasonal = 4,  ///< seasonal dummies less 1/p
  kRelativeSeasonal = 5, ///< p - 1 dummies against the last season
};

/// Texts the user sees.
namespace dummy_messages {
inline constexpr std::string_view kNoRoom = "Not enough store on your work space, you must delete at least 1 variable!";
inline constexpr std::string_view kConstantPrompt = "Supply name for the constant term:";
inline constexpr std::string_view kTrendPrompt = "Supply name for time trend:";
inline constexpr std::string_view kPeriodicityPrompt =
    " Periodicity (any number greater than 1). 2 for half-yearly, 4 for quarterly, 12 for monthly data etc.";
inline constexpr std::string_view kSeasonalNoRoom = "Not enough store on workspace, you must delete at least";
inline constexpr std::string_view kSeasonalNoRoomEnd = "variable(s)!";
inline constexpr std::string_view kNamesPrompt = "Names of the seasonal dummy variables:";
}  // namespace dummy_messages

/// The Dummy Variable Creation Menu (1012): each chosen action runs and the menu returns,
/// until option 0 or cancel. With a function number in slot 17 (used once) that one
/// action runs without the menu. New variables are appended behind the data set.
/// Constant and trend: a name is asked (refused names ask again, cancel gives up); no
/// room gives its message. Seasonal dummies: the periodicity is the frequency's periods
/// per year for half-yearly, quarterly and monthly data, else asked (2..100, cancel leaves
/// the menu); seasons count from the data set's start period; the names are asked
/// together, proposed as S1.., SC1.. or SR1..
void DUMMYVARS();

/// The values of `count` seasonal dummies of periodicity `p` over `nobs` observations
/// whose first falls in season `first_season` (1..p): dummy j (from 1) at observation t
/// (from 1) is element (j - 1) * nobs + t - 1. `action` is 3, 4 or 5; 5 gives p - 1
/// dummies, 1 in their season, -1 in the last and 0 elsewhere. Cost O(p x nobs).
std::vector<double> seasonal_dummies(int action, int p, int first_season, int nobs);

}  // namespace qorv::data
