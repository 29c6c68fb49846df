#include "engine/multi/var_reports.h"

#include "engine/core/channels.h"
#include "engine/core/number_format.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/system_headers.h"
#include "engine/core/text_format.h"
#include "engine/core/workspace.h"
#include "engine/multi/system_estimate.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kVarModelTitle = 0;
/// The order-selection rows run past the usual 79 columns with their two test columns.
constexpr std::size_t kWideLine = 90;

std::string blank_line(std::size_t width = core::kTableWidth) { return std::string(width, ' '); }

void centred_title(std::string_view text) {
  std::string line = fixed_text::pad(text, core::kTableWidth);
  core::JUSTIFYTEXT(line, core::kTableWidth, 'C');
  core::WRITELINE(line, kPage);
}

void header(const NamedVar& var, int kind, std::span<const std::string> names, std::span<const std::string> second,
            double loglik) {
  const VarLayout& layout = var.fit.layout;
  core::SYSTEMHEADER(core::SystemHeaderArgs{kind, names, second, layout.first - 1, layout.n, layout.p, loglik}, kPage);
}

/// "CHSQ(df)=" value "[prob]" after the last text of `line`.
void append_chi_squared(std::string& line, int gap, int df, double value) {
  core::APPENDCHISQ(line, gap, df);
  core::APPENDTEXT(line, 0, "=");
  core::APPENDTEXT(line, 0, core::FORMATREAL9(value));
  core::APPENDPROB(line, core::ProbKind::kChiSquared, value, df);
}

void open_page(std::string_view title) {
  core::SHOWRESULTS(core::kOpenPage);
  core::WRITEPAGEBREAK(kPage);
  centred_title(title);
}

}  // namespace

std::vector<std::string> variable_names(std::span<const int> numbers) {
  std::vector<std::string> names;
  for (int v : numbers) names.emplace_back(fixed_text::trim(core::variable_name(v)));
  return names;
}

void write_var_header(const NamedVar& var, bool with_loglik) {
  std::string title;
  core::SYSTEMMODELTITLE(title, kVarModelTitle, kPage);
  header(var, core::kUnrestrictedVarHeader, var.names, var.deterministic, with_loglik ? var.fit.loglik : limits::kMissing);
}

void write_covariance_page(const NamedVar& var) {
  std::vector<std::string> names = var.names;
  int m = var.fit.layout.m();
  core::PRINTCOVMATRIX(kVarMethod, [&var] { write_var_header(var, true); }, names, m, core::kSystemErrors, 6, 1.0,
                       var.fit.sigma_tilde, m);
}

void write_order_page(const NamedVar& var, std::span<const OrderRow> rows) {
  open_page("Test Statistics and Choice Criteria for Selecting the Order of the VAR Model   ");
  write_var_header(var, false);
  std::string line = blank_line(kWideLine);
  core::APPENDTEXT(line, 1, "Order    LL        AIC      SBC");
  core::APPENDTEXT(line, 13, "LR test");
  core::APPENDTEXT(line, 9, "Adjusted LR test");
  core::WRITELINE(fixed_text::trim_right(line), kPage);
  for (const OrderRow& row : rows) {
    line = " " + core::FORMATFIXED(row.q, 3, 0) + core::FORMATREAL9(row.loglik) + core::FORMATREAL9(row.aic) +
           core::FORMATREAL9(row.sbc);
    line = fixed_text::pad(line, kWideLine);
    if (row.q == var.fit.layout.p) {
      core::APPENDTEXT(line, 13, "------");
      core::APPENDTEXT(line, 15, "------");
    } else {
      append_chi_squared(line, 1, row.df, row.lr);
      append_chi_squared(line, 1, row.df, row.lr_adjusted);
    }
    core::WRITELINE(fixed_text::trim_right(line), kPage);
  }
  core::WRITESTARS(core::kMaxStars, kPage);
  core::WRITELINE(" AIC=Akaike Information Criterion     SBC=Schwarz Bayesian Criterion           ", kPage);
  core::SHOWRESULTS(core::kShowPage);
}

void write_deletion_page(const NamedVar& var, const DeletionTest& test, std::span<const std::string> kept) {
  open_page("LR Test of Deletion of Deterministic/Exogenous Variables in the VAR            ");
  write_var_header(var, true);
  header(var, core::kRestrictedVarHeader, var.names, kept, test.restricted.loglik);
  std::string line = blank_line();
  core::APPENDTEXT(line, 1, "LR test of restrictions,");
  append_chi_squared(line, 1, test.df, test.lr);
  core::WRITELINE(line, kPage);
  core::WRITESTARS(core::kMaxStars, kPage);
  core::SHOWRESULTS(core::kShowPage);
}

void write_noncausality_page(const NamedVar& var, const NonCausality& test, std::span<const int> noncausal) {
  std::vector<std::string> excluded, block;
  for (int i = 1; i <= var.fit.layout.m(); ++i) {
    const bool out = std::find(noncausal.begin(), noncausal.end(), i) != noncausal.end();
    (out ? excluded : block).push_back(var.names[static_cast<std::size_t>(i - 1)]);
  }
  open_page("LR Test of Block Granger Non-Causality in the VAR");
  write_var_header(var, true);
  header(var, core::kNonCausalHeader, excluded, {}, test.restricted_loglik);
  std::string line = blank_line();
  core::APPENDTEXT(line, 1, "LR test of block non-causality,");
  append_chi_squared(line, 1, test.df, test.lr);
  core::WRITELINE(line, kPage);
  core::WRITESTARS(core::kMaxStars, kPage);
  line = blank_line();
  core::APPENDTEXT(line, 1, "The above statistic is for testing the null hypothesis");
  core::APPENDTEXT(line, 1, "that the coefficients");
  core::WRITELINE(line, kPage);
  core::WRITELINE(" of the lagged values of:", kPage);
  core::WRITENAMELIST(excluded, static_cast<int>(excluded.size()), kPage);
  core::WRITELINE(" in the block of equations explaining the variable(s):", kPage);
  core::WRITENAMELIST(block, static_cast<int>(block.size()), kPage);
  line = blank_line();
  core::APPENDTEXT(line, 1, "are zero. The maximum order of the lag(s) is");
  core::APPENDTEXT(line, 1, std::to_string(var.fit.layout.p));
  core::APPENDTEXT(line, 0, ".");
  core::WRITELINE(line, kPage);
  core::WRITESTARS(core::kMaxStars, kPage);
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::multi
