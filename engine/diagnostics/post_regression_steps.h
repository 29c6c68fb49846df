// The pieces of the post-regression dialogue shared by its menus: the values it keeps for
// the whole dialogue and the menus' loops. What each menu offers a method is in the
// method's row (engine/single/method_table.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/diagnostics/parameter_tables.h"

namespace qorv::diagnostics {

/// What the dialogue keeps from its preparation to its end.
struct PostRegressionContext {
  ErrorParameters error_parameters;           ///< the AR or MA error parameters for their table (no lags: none)
  std::vector<double> ar_inverse_covariance;  ///< packed p × p inverse stationary covariance of p AR errors
  double transformed_rss = 0.0;               ///< Σ of the squared transformed residuals
  int lm_order = 0;                           ///< the serial-correlation order last typed
};

/// How a sub-menu ended.
enum class MenuExit {
  kBackToPostRegression,  ///< show the Post Regression Menu again
  kEndDialogue,           ///< leave the dialogue as option 0 does
};

/// The preparation steps on entry (the error parameters and the AR error covariance, the
/// dependent variable's mean and variance, the transformed residuals and their sum of
/// squares).
PostRegressionContext prepare_post_regression();

/// The results page of the current estimate (table, fit and statistics blocks but for the
/// ARDL long run and fully modified estimates, the error-parameter table of AR and MA
/// errors, the diagnostic tests table for the methods that offer the residual tests), shown in the viewer; with `announce` the busy notice
/// is up while the page is written. An equation with one AR or MA error lag then has its
/// concentrated likelihood plotted.
void show_estimation_results(const PostRegressionContext& context, bool announce);

/// A time plot over the estimation sample: `series` (NUSED values each, the missing code
/// for gaps) named `names`, of plot type `type` (1 a time plot, 8 with critical bounds, 17
/// a histogram of the first series in `classes` classes, 18 the same with the t density of
/// `degrees_of_freedom`).
void plot_over_sample(std::string_view title, const std::vector<std::vector<double>>& series,
                      const std::vector<std::string>& names, int type, int classes = 0,
                      double degrees_of_freedom = 0.0);

/// The Hypothesis Testing Menu (1019) loop.
MenuExit hypothesis_menu(PostRegressionContext& context);

/// The Display/Save Residuals and Fitted Values Menu (1037) loop.
void residuals_menu();

/// Post Regression Menu options 6 (plot) and 7 (save) of the leverage measures.
void leverage_option(int option);

/// A plain "... is not available in this version of Zelvorin." box for `what`.
void not_available(std::string_view what);

/// The busy notice "Calculating or writing to file! Please wait... " for one scope.
class BusyNotice {
 public:
  BusyNotice();
  ~BusyNotice();
  BusyNotice(const BusyNotice&) = delete;
  BusyNotice& operator=(const BusyNotice&) = delete;
};

}  // namespace qorv::diagnostics
