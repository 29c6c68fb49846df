#include "engine/multi/johansen_results.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/num/eigen_solve.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/system_headers.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kValueColumn = 17;
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

/// The headings every block repeats: the table's title, the model title and the header.
void write_headings(const CvarSession& session, int table_code) {
  core::WRITEPAGEBREAK(kPage);
  if (table_code == kVectorTable) {
    core::WRITELINE("Estimated Cointegrated Vectors in Johansen Estimation (Normalized in Brackets) ", kPage);
  } else {
    std::string line = blank_line();
    core::APPENDTEXT(line, 14, "Estimated Long Run Matrix in Johansen Estimation");
    core::WRITELINE(line, kPage);
  }
  std::string title = blank_line();
  core::SYSTEMMODELTITLE(title, session.model_case, kPage);
  core::COINTHEADER(session.header_args(), kPage, false);
}

void write_vectors(const CvarSession& session, double tol) {
  const int k = session.k();
  const int r = std::clamp(session.r, 0, k);
  if (session.vectors.size() < static_cast<std::size_t>(k) * static_cast<std::size_t>(r)) return;
  const auto beta = [&](int row, int col) {
    return session.vectors[static_cast<std::size_t>(col) * static_cast<std::size_t>(k) + static_cast<std::size_t>(row)];
  };
  for (int c0 = 0; c0 < r; c0 += kBlockColumns) {
    const int c1 = std::min(r, c0 + kBlockColumns);
    for (int r0 = 0; r0 < k; r0 += kBlockRows) {
      write_headings(session, kVectorTable);
      std::vector<std::string> labels;
      for (int i = c0; i < c1; ++i) {
        std::string label = fixed_text::pad("Vector", kNameWidth);
        core::APPENDINTFIELD(label, 1, i + 1, 2);
        labels.push_back(label);
      }
      core::WRITETABLEROW(" ", 18, labels, c1 - c0, kBlockColumns, static_cast<int>(kNameWidth), 1, kPage);
      for (int j = r0; j < std::min(k, r0 + kBlockRows); ++j) {
        std::vector<double> values, normalised;
        for (int i = c0; i < c1; ++i) {
          values.push_back(beta(j, i));
          const double first = beta(0, i);
          normalised.push_back(std::abs(first) <= tol ? limits::kMissing : -beta(j, i) / first);
        }
        write_value_rows(session.vector_names[static_cast<std::size_t>(j)], values, normalised);
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
      write_headings(session, kLongRunTable);
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
  if (kind != kUnrestrictedDisplay && kind != kJohansenIdentified) return;
  if (table_code != kVectorTable && table_code != kLongRunTable) return;
  core::SHOWRESULTS(core::kOpenPage);
  if (table_code == kVectorTable) {
    write_vectors(session, tol);
  } else {
    write_long_run(session);
  }
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::multi
