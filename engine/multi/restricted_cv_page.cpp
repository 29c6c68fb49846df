#include "engine/multi/restricted_cv_page.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/number_format.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/spec_panels.h"
#include "engine/core/text_format.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr int kPage = core::channel::kResultsPage;
constexpr int kWidth = 79;
constexpr int kLabelGap = 17;   ///< columns before the first vector's label: over its values
constexpr int kLabelWidth = 14;
constexpr int kStatisticGap = 10;
constexpr double kNormalisationTolerance = 1e-11;

std::string centred(std::string_view text) {
  std::string line(text);
  core::JUSTIFYTEXT(line, kWidth, 'C');
  return line;
}

void write_headings(const RestrictedCvPage& page) {
  const CvEstimate& est = *page.estimate;
  if (page.option == 4) {
    core::WRITELINE(centred(est.df > 0 ? "ML estimates subject to over identifying restriction(s)"
                                       : "ML estimates subject to exactly identifying restriction(s)"),
                    kPage);
    core::WRITELINE(centred("Estimates of Restricted Cointegrating Relations (SE's in Brackets)"), kPage);
  } else {
    core::WRITELINE(" Restricted Cointegrated Vectors in Johansen Estimation(Normalized in Brackets)", kPage);
  }
  if (est.iterations > 0)
    core::WRITELINE(core::joined_words({"Converged after", std::to_string(est.iterations), "iterations"}), kPage);
  if (est.iterations < 0)
    core::WRITELINE(core::joined_words({"**Not converged after", std::to_string(-est.iterations), "iterations**"}),
                    kPage);
  std::string title;
  core::SYSTEMMODELTITLE(title, page.model_case, kPage);
  core::COINTHEADER(page.header, kPage, false);
  core::WRITELINE(" List of imposed restriction(s) on cointegrating vectors:", kPage);
  core::PRINTTEXTBLOCK(page.text);
}

/// The bracketed value of element j of vector i.
double bracketed(const RestrictedCvPage& page, int k, int j, int i) {
  const CvEstimate& est = *page.estimate;
  const auto at = static_cast<std::size_t>(i) * static_cast<std::size_t>(k) + static_cast<std::size_t>(j);
  if (page.option == 4) return est.se.size() > at ? est.se[at] : limits::kMissing;
  const double first = est.beta[static_cast<std::size_t>(i) * static_cast<std::size_t>(k)];
  if (std::abs(first) <= kNormalisationTolerance) return limits::kMissing;
  return -est.beta[at] / first;
}

void write_block(const RestrictedCvPage& page, int k, int first_vector, int vectors, int first_row, int rows) {
  write_headings(page);
  std::vector<std::string> labels;
  for (int i = first_vector; i < first_vector + vectors; ++i) {
    std::string label = fixed_text::pad("Vector", kLabelWidth);
    core::APPENDINTFIELD(label, 1, i + 1, 2);
    labels.emplace_back(fixed_text::trim(label));
  }
  core::WRITETABLEROW(" ", kLabelGap, labels, vectors, kVectorsPerBlock, kLabelWidth, 1, kPage);
  for (int j = first_row; j < first_row + rows; ++j) {
    const std::string name(fixed_text::trim(page.names[static_cast<std::size_t>(j)]));
    std::string values = fixed_text::pad(name, kWidth);
    std::string brackets(kWidth, ' ');
    for (int i = first_vector; i < first_vector + vectors; ++i) {
      const bool first = i == first_vector;
      const double beta = page.estimate->beta[static_cast<std::size_t>(i) * static_cast<std::size_t>(k) +
                                              static_cast<std::size_t>(j)];
      core::APPENDREAL(values, first ? 17 - static_cast<int>(name.size()) : 5, ' ', beta);
      core::APPENDREAL(brackets, first ? 18 : 4, '(', bracketed(page, k, j, i));
      core::APPENDTEXT(brackets, 0, ")");
    }
    core::WRITELINE(values, kPage);
    if (page.option != 6) core::WRITELINE(brackets, kPage);
  }
}

void write_test(const RestrictedCvPage& page) {
  const CvEstimate& est = *page.estimate;
  std::string line = fixed_text::pad(" LR Test of Restrictions", kWidth);
  core::APPENDCHISQ(line, kStatisticGap, est.df);
  core::APPENDTEXT(line, 0, "=");
  core::APPENDTEXT(line, 0, core::FORMATREAL9(est.lr));
  core::APPENDPROB(line, core::ProbKind::kChiSquared, est.lr, est.df);
  core::WRITELINE(line, kPage);
  if (page.option == 4 && est.df > 0) {
    const int r2 = page.r * page.r;
    core::WRITELINE(" DF=Total no of restrictions(" + std::to_string(r2 + est.df) +
                        ") - no of just-identifying restrictions(" + std::to_string(r2) + ")",
                    kPage);
    core::WRITELINE(" LL subject to exactly identifying restrictions=" + core::FORMATREAL9(page.exact_loglik), kPage);
    core::WRITELINE(" LL subject to over-identifying restrictions=" + core::FORMATREAL9(est.loglik), kPage);
  }
  core::WRITESTARS(kWidth, kPage);
}

}  // namespace

void write_restricted_vectors(const RestrictedCvPage& page) {
  const int k = page.header.k;
  if (page.estimate == nullptr || page.r < 1 || k < 1 || page.names.size() < static_cast<std::size_t>(k) ||
      page.estimate->beta.size() < static_cast<std::size_t>(k) * static_cast<std::size_t>(page.r))
    throw std::invalid_argument("write_restricted_vectors: no estimate, or fewer names or values than k × r");
  core::SHOWRESULTS(core::kOpenPage);
  core::WRITEPAGEBREAK(kPage);
  for (int first_vector = 0; first_vector < page.r; first_vector += kVectorsPerBlock)
    for (int first_row = 0; first_row < k; first_row += kRowsPerBlock)
      write_block(page, k, first_vector, std::min(kVectorsPerBlock, page.r - first_vector), first_row,
                  std::min(kRowsPerBlock, k - first_row));
  write_test(page);
  core::SHOWRESULTS(core::kShowPage);
}

}  // namespace qorv::multi
