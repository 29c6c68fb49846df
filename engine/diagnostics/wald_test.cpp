#include "engine/diagnostics/wald_test.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/num/packed_index.h"
#include "engine/core/output_files.h"
#include "engine/core/report_lines.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/results_page.h"
#include "engine/core/screen_editor.h"
#include "engine/core/spec_panels.h"
#include "engine/core/text_format.h"
#include "engine/diagnostics/post_regression_steps.h"
#include "engine/single/result_report.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::diagnostics {

namespace {

constexpr int kLineWidth = 79;
constexpr int kEditorHelpKind = 14;  ///< the editor without a help page of its own
constexpr int kMatrixColumns = 6;    ///< columns of a block of the printed function matrix
constexpr int kStatisticGap = 20;    ///< columns between " Wald Statistic" and "CHSQ("

bool restrictions(const WaldRequest& r) { return r.mode == RelationMode::kRestrictions; }

/// The names-to-parameters lines: a system's from its blocks, else the caller's.
void write_assignment(const WaldRequest& request, int channel) {
  if (request.system) {
    for (const std::string& line : system_assignment_lines(request.block_sizes)) core::WRITELINE(line, channel);
  } else if (request.assignment) {
    request.assignment(channel);
  }
}

std::string blank_line() { return std::string(kLineWidth, ' '); }

std::string centred(std::string_view text) {
  std::string line(text);
  core::JUSTIFYTEXT(line, kLineWidth, 'C');
  return line;
}

void write_panel(const WaldRequest& request) {
  int status = 0;
  core::OPENTEMPFILE(core::kCreatePanel, status);
  const int panel = core::channel::kEditorPanel;
  write_assignment(request, panel);
  const bool b_block = request.block_sizes.size() > 1;
  core::WRITELINE(core::joined_words({" Use the editor to specify/edit",
                                      restrictions(request) ? "restriction(s) on parameters."
                                                            : "relationship(s) on parameters.",
                                      "Separate these by ;'s."}),
                  panel);
  core::WRITELINE(request.system ? "%The restriction(s) could be linear, nonlinear or cross equation."
                                 : "%The restriction(s) could be linear or nonlinear.",
                  panel);
  if (restrictions(request))
    core::WRITELINE(b_block ? " Examples: A1+A2=1 ; A1/A2=B1/B2." : " Examples: A1+A2=1 ; A1*A3=4 ; A3=A4.", panel);
  else
    core::WRITELINE(b_block ? " Examples: F1=A1*A2 ; F2=(A1/A2)-(B1/B2)."
                            : " Examples: F1=A1*A2 ; F2=A2-A3 ; F3=A1+A2+A3.",
                    panel);
}

/// The message of a refused text; empty when it was accepted.
std::string refusal(const RelationParse& parse) {
  switch (parse.error) {
    case RelationError::kEqualitySign: return " Equality sign is missing or misplaced!";
    case RelationError::kInvalidName: return core::joined_words({parse.subject, "is not a valid name! Try again."});
    case RelationError::kNameTwice: return core::joined_words({parse.subject, "is included twice! Try again."});
    case RelationError::kTooMany: return "Too many restrictions/relationships!";
    case RelationError::kProcessing: break;
    case RelationError::kNone:
    case RelationError::kNoRelation: return {};
  }
  return processing_message(parse.index);
}

/// Title, header, assignment lines and the typed relations.
void write_page_head(const WaldRequest& request, std::string_view text) {
  const int page = core::channel::kResultsPage;
  core::WRITELINE(centred(restrictions(request) ? "Wald test of restriction(s) imposed on parameters"
                                                : "Analysis of Function(s) of Parameter(s)"),
                  page);
  if (request.header) request.header(page);
  write_assignment(request, page);
  std::string line = blank_line();
  core::APPENDTEXT(line, 0,
                   !restrictions(request) ? " List of specified functional relationship(s):"
                   : request.system       ? "List of restrictions imposed on the coefficients of the SURE model:"
                                          : " List of restriction(s) for the Wald test:");
  core::WRITELINE(line, page);
  core::PRINTTEXTBLOCK(text);
}

void write_wald_statistic(double w, int r) {
  const int page = core::channel::kResultsPage;
  std::string line = blank_line();
  core::APPENDTEXT(line, 0, " Wald Statistic");
  core::APPENDCHISQ(line, kStatisticGap, r);
  core::APPENDREAL(line, 0, '=', w);
  core::APPENDPROB(line, core::ProbKind::kChiSquared, w, r);
  core::WRITELINE(line, page);
  if (w == limits::kMissing) core::WRITELINE(" There is a possibility that restrictions are linearly dependent", page);
  core::WRITESTARS(kLineWidth, page);
}

void write_function_table(const WaldRequest& request, const std::vector<Relation>& relations,
                          const std::vector<double>& f, const std::vector<double>& covariance) {
  const int page = core::channel::kResultsPage;
  std::string line = blank_line();
  core::APPENDTEXT(line, 0, " Function");
  core::APPENDTEXT(line, 15, "Estimate");
  core::APPENDTEXT(line, 10, "Standard Error");
  core::APPENDTEXT(line, 9, "T-Ratio[Prob]");
  core::WRITELINE(line, page);
  for (std::size_t i = 0; i < relations.size(); ++i) {
    const int k = static_cast<int>(i) + 1;
    const double v = covariance[static_cast<std::size_t>(core::PACKEDINDEX(k, k) - 1)];
    const double se = std::isfinite(v) && v >= 0.0 ? std::sqrt(v) : limits::kMissing;
    core::WRITELINE(single::coefficient_row(relations[i].name, f[i], se, request.df), page);
  }
  core::WRITESTARS(kLineWidth, page);
}

}  // namespace

std::string processing_message(int index) {
  return " Error while processing the " + ordinal_text(index) + "! Correct it using the editor.";
}

std::string ordinal_text(int n) {
  static constexpr std::array<const char*, 20> kWords = {
      "first",       "second",     "third",      "fourth",     "fifth",     "sixth",     "seventh",
      "eighth",      "ninth",      "tenth",      "eleventh",   "twelfth",   "thirteenth", "fourteenth",
      "fifteenth",   "sixteenth",  "seventeenth", "eighteenth", "nineteenth", "twentieth"};
  if (n >= 1 && n <= static_cast<int>(kWords.size())) return kWords[static_cast<std::size_t>(n - 1)];
  const int last = n % 10;
  const bool teen = n % 100 >= 11 && n % 100 <= 13;
  const char* suffix = teen ? "th" : last == 1 ? "st" : last == 2 ? "nd" : last == 3 ? "rd" : "th";
  return std::to_string(n) + suffix;
}

std::vector<std::string> system_assignment_lines(std::span<const int> block_sizes) {
  std::vector<std::string> lines;
  if (!block_sizes.empty())
    lines.push_back(core::joined_words(
        {" A1 to A" + std::to_string(block_sizes[0]), "are assigned to parameters", "of equation 1"}));
  if (block_sizes.size() > 1)
    lines.push_back(core::joined_words({" B1 to B" + std::to_string(block_sizes[1]),
                                        "are assigned to parameters of equation 2 and so on."}));
  return lines;
}

bool WALDTEST(const WaldRequest& request, std::string& text) {
  if (request.exact_fit) {
    core::SHOWMESSAGE(" An almost exact relationship!");
    return false;
  }
  const std::vector<std::string> names = parameter_names(request.block_sizes);
  const std::size_t p = names.size();
  if (request.block_sizes.size() > static_cast<std::size_t>(kMaxParameterBlocks)) {
    core::SHOWMESSAGE("Too many equations!");
    return false;
  }
  if (p == 0 || request.estimates.size() != p || request.variance.size() < p * (p + 1) / 2)
    throw std::invalid_argument("WALDTEST: the estimates, blocks and variance matrix do not agree");
  write_panel(request);
  core::set_editor_title({restrictions(request) ? "Wald test of restriction(s) imposed on parameters"
                                                : "Analysis of Function(s) of Parameter(s)"});
  std::string session = fixed_text::pad(text, core::kEditorLength);
  core::EditorCursor cursor;
  while (true) {
    const int answer = core::SCREENEDITOR(session, cursor, 1, "EQU", kEditorHelpKind, names);
    text = session;
    if (answer != core::kEditorAccepted) return false;
    RelationParse parse;
    RelationValues values;
    {
      BusyNotice busy;
      parse = parse_relations(session, request.mode, names, request.limit);
      if (parse.error == RelationError::kNone) values = evaluate_relations(parse.relations, request.estimates);
    }
    if (parse.error == RelationError::kNoRelation) return false;
    if (parse.error != RelationError::kNone) {
      core::SHOWMESSAGE(refusal(parse));
      continue;
    }
    if (values.failed != 0) {
      core::SHOWMESSAGE(processing_message(values.failed));
      continue;
    }
    const int r = static_cast<int>(parse.relations.size());
    const std::vector<double> covariance =
        function_covariance(values.jacobian, r, request.variance, static_cast<int>(p), request.scale);
    core::SHOWRESULTS(core::kOpenPage);
    write_page_head(request, session);
    if (restrictions(request)) {
      write_wald_statistic(wald_statistic(values.f, covariance), r);
      core::SHOWRESULTS(core::kShowPage);
      return true;
    }
    write_function_table(request, parse.relations, values.f, covariance);
    core::SHOWRESULTS(core::kShowPage);
    std::vector<std::string> function_names;
    for (const Relation& relation : parse.relations) function_names.push_back(relation.name);
    int k = r;
    core::PRINTCOVMATRIX(0, {}, function_names, k, core::kFunctionMatrix, kMatrixColumns, 1.0, covariance, r);
    return true;
  }
}

}  // namespace qorv::diagnostics
