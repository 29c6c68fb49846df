#include "engine/multi/johansen_results.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/message_lines.h"
#include "engine/core/number_format.h"
#include "engine/core/num/eigen_solve.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/screen_editor.h"
#include "engine/core/spec_panels.h"
#include "engine/core/system_headers.h"
#include "engine/core/text_format.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kValueColumn = 17;
constexpr int kGeneralKind = 4;     ///< general restrictions: standard errors in brackets
constexpr int kAllFixedKind = 6;    ///< every vector fixed: no brackets
constexpr int kStatisticGap = 10;  ///< columns between the test's name and "CHSQ("
constexpr std::size_t kNameWidth = 14;  ///< a name or a column label  ///< the first value stands this many columns after a name's start

std::string blank_line() { return std::string(core::kTableWidth, ' '); }

/// The column (from 0) of variable `v` (from 1) of the data matrix.
std::span<const double> column_of(std::span<const double> data, int nobs, int v) {
  const std::size_t size = static_cast<std::size_t>(nobs);
  if (v < 1 || static_cast<std::size_t>(v) * size > data.size())
    throw std::invalid_argument("JOHANSENESTIMATE: variable outside the data matrix");
  return data.subspan(static_cast<std::size_t>(v - 1) * size, size);
}

/// A row of values: the name from column 2, the first value 17 columns after the name's
/// start, the next ones 5 columns apart; under it, when `brackets` is given, each
/// bracketed value in the same columns.
void write_value_rows(const std::string& name, std::span<const double> values, std::span<const double> brackets) {
  std::string line = blank_line();
  core::APPENDTEXT(line, 1, name);
  const int length = static_cast<int>(fixed_text::trimmed_length(name));
  for (std::size_t i = 0; i < values.size(); ++i)
    core::APPENDREAL(line, i == 0 ? kValueColumn - length : 5, ' ', values[i]);
  core::WRITELINE(line, kPage);
  if (brackets.empty()) return;
  line = blank_line();
  for (std::size_t i = 0; i < brackets.size(); ++i) {
    // On an all-blank line the first "(" goes to column 19, after a value's ")" 4 on.
    core::APPENDREAL(line, i == 0 ? 18 : 4, '(', brackets[i]);
    core::APPENDTEXT(line, 0, ")");
  }
  core::WRITELINE(line, kPage);
}

bool restricted_kind(int kind) { return kind != kUnrestrictedDisplay && kind != kJohansenIdentified; }

std::string centred(std::string_view text) {
  std::string line(text);
  core::JUSTIFYTEXT(line, core::kTableWidth, 'C');
  return line;
}

/// The headings every block repeats: the table's title (for restricted vectors with the
/// iteration count), the model title and the header, and for restricted vectors the
/// restrictions as typed.
void write_headings(const CvarSession& session, int table_code, int kind) {
  core::WRITEPAGEBREAK(kPage);
  if (table_code == kLongRunTable) {
    std::string line = blank_line();
    core::APPENDTEXT(line, 14, "Estimated Long Run Matrix in Johansen Estimation");
    core::WRITELINE(line, kPage);
  } else if (kind == kGeneralKind) {
    core::WRITELINE(centred(session.restricted.df > 0 ? "ML estimates subject to over identifying restriction(s)"
                                                      : "ML estimates subject to exactly identifying restriction(s)"),
                    kPage);
    core::WRITELINE(centred("Estimates of Restricted Cointegrating Relations (SE's in Brackets)"), kPage);
  } else if (restricted_kind(kind)) {
    core::WRITELINE(" Restricted Cointegrated Vectors in Johansen Estimation(Normalized in Brackets)", kPage);
  } else {
    core::WRITELINE("Estimated Cointegrated Vectors in Johansen Estimation (Normalized in Brackets) ", kPage);
  }
  const int iterations = session.restricted.iterations;
  if (restricted_kind(kind) && iterations > 0)
    core::WRITELINE(core::joined_words({"Converged after", std::to_string(iterations), "iterations"}), kPage);
  if (restricted_kind(kind) && iterations < 0)
    core::WRITELINE(core::joined_words({"**Not converged after", std::to_string(-iterations), "iterations**"}), kPage);
  std::string title = blank_line();
  core::SYSTEMMODELTITLE(title, session.model_case, kPage);
  core::COINTHEADER(session.header_args(), kPage, false);
  if (!restricted_kind(kind)) return;
  core::WRITELINE(" List of imposed restriction(s) on cointegrating vectors:", kPage);
  core::PRINTTEXTBLOCK(fixed_text::pad(core::driver_state().restriction_text, static_cast<std::size_t>(core::kEditorLength)));
}

/// The likelihood-ratio test of the restrictions, after the table of restricted vectors.
void write_restriction_test(const CvarSession& session, int kind) {
  const CvEstimate& est = session.restricted;
  std::string line = blank_line();
  core::APPENDTEXT(line, 0, " LR Test of Restrictions");
  core::APPENDCHISQ(line, kStatisticGap, est.df);
  core::APPENDTEXT(line, 0, "=");
  core::APPENDTEXT(line, 0, core::FORMATREAL9(est.lr));
  core::APPENDPROB(line, core::ProbKind::kChiSquared, est.lr, est.df);
  core::WRITELINE(line, kPage);
  if (kind == kGeneralKind && est.df > 0) {
    const int r2 = session.r * session.r;
    core::WRITELINE(" DF=Total no of restrictions(" + std::to_string(r2 + est.df) +
                        ") - no of just-identifying restrictions(" + std::to_string(r2) + ")",
                    kPage);
    core::WRITELINE(" LL subject to exactly identifying restrictions=" + core::FORMATREAL9(session.exact_loglik), kPage);
    core::WRITELINE(" LL subject to over-identifying restrictions=" + core::FORMATREAL9(est.loglik), kPage);
  }
  core::WRITESTARS(core::kMaxStars, kPage);
}

void write_vectors(const CvarSession& session, int kind, double tol) {
  const int k = session.k();
  const int r = std::clamp(session.r, 0, k);
  if (session.vectors.size() < static_cast<std::size_t>(k) * static_cast<std::size_t>(r)) return;
  const auto beta = [&](int row, int col) {
    return session.vectors[static_cast<std::size_t>(col) * static_cast<std::size_t>(k) + static_cast<std::size_t>(row)];
  };
  for (int c0 = 0; c0 < r; c0 += kBlockColumns) {
    const int c1 = std::min(r, c0 + kBlockColumns);
    for (int r0 = 0; r0 < k; r0 += kBlockRows) {
      write_headings(session, kVectorTable, kind);
      std::vector<std::string> labels;
      for (int i = c0; i < c1; ++i) {
        std::string label = fixed_text::pad("Vector", kNameWidth);
        core::APPENDINTFIELD(label, 1, i + 1, 2);
        labels.push_back(label);
      }
      core::WRITETABLEROW(" ", 18, labels, c1 - c0, kBlockColumns, static_cast<int>(kNameWidth), 1, kPage);
      for (int j = r0; j < std::min(k, r0 + kBlockRows); ++j) {
        std::vector<double> values, brackets;
        for (int i = c0; i < c1; ++i) {
          values.push_back(beta(j, i));
          const double first = beta(0, i);
          const std::size_t at = static_cast<std::size_t>(i) * static_cast<std::size_t>(k) + static_cast<std::size_t>(j);
          // General restrictions: the standard error; fixed vectors: nothing.
          if (kind == kGeneralKind)
            brackets.push_back(at < session.restricted.se.size() ? session.restricted.se[at] : limits::kMissing);
          else if (kind != kAllFixedKind)
            brackets.push_back(std::abs(first) <= tol ? limits::kMissing : -beta(j, i) / first);
        }
        write_value_rows(session.vector_names[static_cast<std::size_t>(j)], values, brackets);
      }
      core::WRITESTARS(core::kMaxStars, kPage);
    }
  }
}

void write_long_run(const CvarSession& session) {
  const int k = session.k(), m = session.m;
  const int r = std::clamp(session.r, 0, k);
  const JohansenFit& fit = session.fit;
  const auto pi = [&](int row, int col) {
    double sum = 0.0;
    for (int i = 0; i < r; ++i) {
      const std::size_t ui = static_cast<std::size_t>(i);
      sum += fit.alpha[ui * static_cast<std::size_t>(m) + static_cast<std::size_t>(row)] *
             fit.beta[ui * static_cast<std::size_t>(k) + static_cast<std::size_t>(col)];
    }
    return sum;
  };
  for (int c0 = 0; c0 < k; c0 += kBlockColumns) {
    const int c1 = std::min(k, c0 + kBlockColumns);
    for (int r0 = 0; r0 < m; r0 += kBlockRows) {
      write_headings(session, kLongRunTable, kUnrestrictedDisplay);
      std::vector<std::string> labels(session.vector_names.begin() + c0, session.vector_names.begin() + c1);
      core::WRITETABLEROW(" ", 18, labels, c1 - c0, kBlockColumns, static_cast<int>(kNameWidth), 1, kPage);
      for (int j = r0; j < std::min(m, r0 + kBlockRows); ++j) {
        std::vector<double> values;
        for (int l = c0; l < c1; ++l) values.push_back(pi(j, l));
        write_value_rows(session.vector_names[static_cast<std::size_t>(j)], values, {});
        core::WRITELINE("", kPage);
      }
      core::WRITESTARS(core::kMaxStars, kPage);
    }
  }
}

}  // namespace

bool JOHANSENESTIMATE(std::span<const double> data, int nobs, CvarSession& session, double tol) {
  const int i1 = session.m + session.e;
  if (static_cast<int>(session.list.size()) != i1 + session.d || session.p < 1 || session.n < 1 ||
      session.start - session.p < 1 || session.start + session.n - 1 > nobs)
    throw std::invalid_argument("JOHANSENESTIMATE: list or sample does not fit the data");
  const std::size_t first = static_cast<std::size_t>(session.start - session.p - 1);
  const std::size_t rows = static_cast<std::size_t>(session.n + session.p);
  session.levels.clear();
  session.stationary.clear();
  for (int i = 0; i < i1; ++i) {
    const auto column = column_of(data, nobs, session.list[static_cast<std::size_t>(i)]);
    session.levels.insert(session.levels.end(), column.begin() + static_cast<std::ptrdiff_t>(first),
                          column.begin() + static_cast<std::ptrdiff_t>(first + rows));
  }
  for (int i = i1; i < i1 + session.d; ++i) {
    const auto column = column_of(data, nobs, session.list[static_cast<std::size_t>(i)]);
    const std::size_t from = first + static_cast<std::size_t>(session.p);
    session.stationary.insert(session.stationary.end(), column.begin() + static_cast<std::ptrdiff_t>(from),
                              column.begin() + static_cast<std::ptrdiff_t>(from + static_cast<std::size_t>(session.n)));
  }
  core::SHOWCALCULATING();
  const JohansenFailure failure = johansen_estimate(session.johansen_data(), tol, session.fit);
  core::STOPCALC();
  switch (failure) {
    case JohansenFailure::kNone: return true;
    case JohansenFailure::kSingular: core::SHOWMSGFILE(core::msg::kSingularMatrix); return false;
    case JohansenFailure::kEigen: core::SHOWOK(core::kWarning, core::kNoHelp, core::kEigenFailureText); return false;
  }
  return false;
}

void JOHANSENRESULTS(const CvarSession& session, int kind, int table_code, double tol) {
  if (kind < kUnrestrictedDisplay || kind > kAllFixedKind) return;
  if (table_code != kVectorTable && table_code != kLongRunTable) return;
  if (restricted_kind(kind) && table_code != kVectorTable) return;
  core::SHOWRESULTS(core::kOpenPage);
  if (table_code == kVectorTable) {
    write_vectors(session, kind, tol);
    if (restricted_kind(kind)) write_restriction_test(session, kind);
  } else {
    write_long_run(session);
  }
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::multi
