// The table of diagnostic tests written after a single-equation estimate: serial
// correlation, functional form, normality and heteroscedasticity, each as a Lagrange-
// multiplier statistic and, where defined, its F version; then the predictive-failure
// and stability tests when observations after the sample were kept back.
#pragma once

namespace qorv::diagnostics {

/// The statistics of the table for the current estimate (the missing value where a
/// statistic is not computed; negative values print as missing).
struct DiagnosticStatistics {
  int n = 0;                  ///< observations used
  int k = 0;                  ///< regressors
  int order = 0;              ///< order p of the serial-correlation test
  bool f_applicable = true;   ///< false for the IV methods 5, 15 and 80: no F column for A, B, D
  double serial_lm = 0.0;     ///< A: chi-squared on p
  double serial_f = 0.0;      ///< A: F on (p, n − k − p)
  double reset_lm = 0.0;      ///< B: chi-squared on 1
  double reset_f = 0.0;       ///< B: F on (1, n − k − 1)
  double normality_lm = 0.0;  ///< C: chi-squared on 2
  double hetero_lm = 0.0;     ///< D: chi-squared on 1
  double hetero_f = 0.0;      ///< D: F on (1, n − 2)
};

/// The four residual diagnostics of the current estimate:
///   A: p = the periods per year, 1 when n − k − p < 2; not computed when n − k < 3 or
///      sigma < 1e-11; LM = `QUADFORMS` mode 1;
///   B: not computed when n − k < 4 or sigma < 1e-11; LM = `QUADFORMS` mode 2;
///   C: `NORMALITYTEST`, not computed when n − k < 4 or sigma < 1e-11;
///   D: `HETEROTEST` on the residuals and the fitted values (the IV fitted values x̂'b for
///      the IV methods);
/// F versions by `lm_to_f`. Cost: that of the two auxiliary regressions, O(n·k²).
DiagnosticStatistics diagnostic_statistics();

/// `DIAGNOSTICTESTS`: writes the table for the current estimate on `channel`: two blank
/// lines, "Diagnostic Tests" from column 32, the heading between rules, rows A to D, for
/// an OLS estimate (method 1) with observations kept back (the request's predictive-
/// failure count) rows E and F of `CHOWTESTS`, a rule and the footnotes. Statistics that
/// cannot be computed print "*NONE*"; no test stops the table.
void DIAGNOSTICTESTS(int channel);

}  // namespace qorv::diagnostics
