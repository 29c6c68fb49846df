// The forecast display of the system estimators: one variable's actual values, in-sample
// fitted values and dynamic forecasts, in levels or changes, as a table with summary
// statistics, as a plot, or saved as a new variable. The callers compute the predictions.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

namespace qorv::multi {

/// Which titles the display uses.
enum class ForecastTitles { kMultivariate, kArdl };

/// What a caller hands over.
struct ForecastDisplay {
  std::vector<std::string> names;   ///< the m variables
  std::vector<int> variables;       ///< their data-set numbers (the actual values)
  std::vector<double> predictions;  ///< (last − first + 1) × m column-major
  int first = 0;                    ///< first observation of the estimation period
  int end = 0;                      ///< its last observation
  int last = 0;                     ///< last observation of the forecast period
  ForecastTitles titles = ForecastTitles::kMultivariate;
  std::function<void()> header;     ///< writes the model's header on the results page
};

/// One variable's three series over first..last.
struct ForecastSeries {
  std::vector<double> actual;
  std::vector<double> predicted;
  std::vector<double> error;
};

/// Levels: y, ŷ and y − ŷ. Changes: y_t − y_{t−1} against ŷ_t − y_{t−1} over the
/// estimation period and at the first forecast observation, ŷ_t − ŷ_{t−1} after it; the
/// first observation of the estimation period takes the levels. `actual` and `predicted`
/// run over first..last (`estimation` of them in the estimation period). A missing
/// operand gives the missing code.
ForecastSeries forecast_series(std::span<const double> actual, std::span<const double> predicted, int estimation,
                               bool changes);

/// Mean, mean absolute, mean of squares and its root over the non-missing values; the
/// missing code for all four when there are none.
struct SummaryStatistics {
  double mean = 0.0;
  double mean_absolute = 0.0;
  double mean_squares = 0.0;
  double root_mean_squares = 0.0;
};
SummaryStatistics summary_statistics(std::span<const double> errors);

/// The dialogue: the variable ("None" leaves), levels or changes, then the forecast menu
/// (1046): display, plot, save; option 0 chooses another variable.
void DYNFORECAST(const ForecastDisplay& display);

}  // namespace qorv::multi
