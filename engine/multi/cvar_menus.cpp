#include "engine/multi/cvar_menus.h"

#include <string>

#include "engine/core/dialog_bridge.h"
#include "engine/core/menu_system.h"
#include "engine/core/report_lines.h"
#include "engine/multi/cointegration_rank.h"
#include "engine/multi/cvar_post_estimation.h"
#include "engine/multi/johansen_results.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

/// Options of menu 1030 that run a restricted estimation, and the one that uses
/// Johansen's vectors.
constexpr int kFixSomeVectors = 1;
constexpr int kRestrictOneVector = 3;
constexpr int kGeneralRestrictions = 4;
constexpr int kJohansenVectors = 5;
/// Menu 1020's option that lists the system covariance matrix of errors.
constexpr int kCovarianceListing = 8;

/// r from the user, 0..m, asked until it fits (no Cancel button).
int ask_rank(int m) {
  std::string prompt = " Number of cointegrating vectors (max.";
  prompt.resize(core::kMessageWidth, ' ');
  core::APPENDINTEGER(prompt, 1, m);
  core::APPENDTEXT(prompt, 0, ") ?");
  prompt = std::string(fixed_text::trim_right(prompt));
  while (true) {
    int value = 0;
    int status = core::kDialogOk;
    core::ASKINTEGER(core::kNoHelp, value, status, prompt);
    if (status == core::kDialogOk && value >= 0 && value <= m) return value;
    core::BEEP();
  }
}

class CvarMenus {
 public:
  CvarMenus(CvarSession& session, double tol) : s_(session), tol_(tol) {}
  void post_estimation();

 private:
  void structural();
  /// Menu 1020 over the current vectors, shown again with its new title when its option 0
  /// leads through the restriction editor to new restricted vectors.
  void impulse_and_forecast();
  bool tests_applicable();

  CvarSession& s_;
  double tol_;
};

void CvarMenus::post_estimation() {
  const core::MenuTable menu{1026, 0, 0, "Cointegrating VAR Post Estimation Menu",
                             {"Move to Backtracking Menu", "Display cointegration tests again",
                              "Specify r, the number of cointegrating vectors (CV's)",
                              "Display CV's using Johansen's just-identifying restrictions",
                              "Display system covariance matrix of errors",
                              "Display matrix of long-run multipliers for the specified r",
                              "Long run structural modelling, IR Analysis and Forecasting",
                              "Compute multivariate dynamic forecasts"}};
  int choice = 2;
  while (true) {
    const int option = core::show_menu_table(menu, choice);
    if (option == 0) return;
    if (option >= 3 && s_.r == 0) {
      core::SHOWOK(core::kError, core::kNoHelp, " Please specify r, the number of cointegrating vectors!");
      choice = 2;
      continue;
    }
    switch (option) {
      case 1: write_rank_tables(s_, tol_); break;
      case 2:
        s_.r = ask_rank(s_.m);
        use_johansen_vectors(s_);
        break;
      case 3: JOHANSENRESULTS(s_, kUnrestrictedDisplay, kVectorTable, tol_); break;
      case 4: cvar_dynamic_option(s_, kCovarianceListing); break;
      case 5: JOHANSENRESULTS(s_, kUnrestrictedDisplay, kLongRunTable, tol_); break;
      case 6: structural(); break;
      default: cvar_forecast(s_); break;
    }
    if (option != 1) choice = option % 7 + 1;
  }
}

bool CvarMenus::tests_applicable() {
  if (s_.r < s_.m) return true;
  if (s_.m > 1) {
    std::string text = "These tests are not applicable for your choice of r.  Choose r to be less than ";
    text.resize(core::kMessageWidth, ' ');
    core::APPENDINTEGER(text, 1, s_.m);
    core::APPENDTEXT(text, 1, "and try again.");
    core::SHOWOK(core::kWarning, core::kNoHelp, text);
  } else {
    core::SHOWOK(core::kWarning, core::kNoHelp, "These tests are not applicable in the one variable case!");
  }
  return false;
}

void CvarMenus::structural() {
  const core::MenuTable menu{1030, 0, 0, "Long Run Structural Modelling Menu",
                             {"Move to Cointegrating VAR Post Estimation Menu",
                              "Likelihood ratio test of fixing some cointegrating vectors (CV's)",
                              "Likelihood ratio test of imposing same restriction(s) on all CV's",
                              "Likelihood ratio test of imposing restriction(s) on only one CV",
                              "Likelihood ratio test of imposing general restrictions on CV's",
                              "Use CV's obtained under Johansen's just-identifying restrictions",
                              "Fix all the cointegrating vectors"}};
  int choice = kGeneralRestrictions;
  while (true) {
    const int option = core::show_menu_table(menu, choice);
    if (option == 0) {
      use_johansen_vectors(s_);
      return;
    }
    if (option == kJohansenVectors) {
      use_johansen_vectors(s_);
      impulse_and_forecast();
      continue;
    }
    if (option >= kFixSomeVectors && option <= kRestrictOneVector && !tests_applicable()) {
      choice = 0;
      continue;
    }
    if (cvar_restricted_option(s_, option)) impulse_and_forecast();
  }
}

void CvarMenus::impulse_and_forecast() {
  while (true) {
    const bool johansen = s_.source == CvarVectorSource::kJohansen;
    const bool from_general = !johansen && s_.restricted_option == kGeneralRestrictions;
    const core::MenuTable menu{
        1020, 0, 0,
        johansen ? "IR Analysis and Forecasting Menu (Johansen's CV's)" : "IR Analysis and Forecasting Menu (Restricted CV's)",
        {from_general ? "Return to identify/test cointegrating vectors" : "Return to Long Run Structural Modelling Menu",
         "Impulse Response of variables to shocks in equations", "Forecast Error Variance Decomposition analysis",
         "Impulse Response of CV's to shocks in equations", "Persistence Profile of CV's to system-wide shocks",
         "Compute multivariate dynamic forecasts", "Display restricted/fixed CV's again",
         "Display error correction equations", "Display system covariance matrix of errors"}};
    int choice = 4;
    bool reopened = false;
    while (!reopened) {
      const int option = core::show_menu_table(menu, choice);
      if (option == 0) {
        const int restricted = s_.restricted_option;
        use_johansen_vectors(s_);
        if (from_general || !core::ASKYESNO(core::kNoHelp, "Do you wish to test over-identifying restrictions on CV's?"))
          return;
        // The editor again: of the same kind after a restricted estimation, of general
        // restrictions after Johansen's vectors.
        if (!cvar_restricted_option(s_, johansen ? kGeneralRestrictions : restricted)) return;
        reopened = true;
        continue;
      }
      if (option <= 4 && s_.e > 0) {
        core::SHOWMESSAGE(" This option is not available when I(1) exogenous variables are present!");
        continue;
      }
      switch (option) {
        case 5: cvar_forecast(s_); break;
        case 6:
          if (johansen) {
            JOHANSENRESULTS(s_, kJohansenIdentified, kVectorTable, tol_);
          } else {
            cvar_restricted_display(s_);
          }
          break;
        case 7: cvar_error_correction(s_); break;
        default: cvar_dynamic_option(s_, option); break;
      }
    }
  }
}

}  // namespace

void cvar_post_estimation_menu(CvarSession& session, double tol) { CvarMenus(session, tol).post_estimation(); }

}  // namespace qorv::multi
