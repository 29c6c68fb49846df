#include "engine/core/spec_panels.h"

#include <vector>

#include "engine/core/channels.h"
#include "engine/core/output_files.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/screen_editor.h"
#include "engine/core/text_format.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr int kPanelWidth = 80;

bool shows_regression(int kind) {
  switch (kind) {
    case 5: case 8: case 9: case 12: case 13: case 19: case 22: case 24: case 25: case 26: case 61: case 70:
      return true;
    default: return false;
  }
}

/// Writes the lines of one panel, a blank line between groups.
class Panel {
 public:
  void line(std::string_view text) { WRITELINE(text, channel::kEditorPanel); }
  void blank() { line(""); }
  void lines(std::initializer_list<std::string_view> texts) {
    for (const std::string_view t : texts) line(t);
  }
  void centred(std::string_view text) {
    std::string l(text);
    JUSTIFYTEXT(l, kPanelWidth, 'C');
    line(l);
  }
  void names(const std::vector<std::string>& items) {
    WRITENAMELIST(items, static_cast<int>(items.size()), channel::kEditorPanel);
  }
  void regression(const SpecRequest& r) {
    line(joined_words({" Regression of", r.model_dependent, "on:"}));
    names(r.model_names);
  }
};

std::string item_plural(const SpecRequest& r) { return r.item_word + "(s)"; }

std::string dependent_prompt(const SpecRequest& r) {
  return joined_words({"List the dependent variable followed by the", item_plural(r)});
}

void system_panel(Panel& p, int sub_kind) {
  switch (sub_kind) {
    case 0:
      p.lines({" List the variables to be included in the ARDL model followed by",
               " deterministic regressors such as intercept and time trend, and", " regressors with fixed lags.",
               " The dependent variable should be the first variable in the list.",
               " The first set of variables should not appear inlagged or lead form.",
               " Separate the two sets of variables by &.",
               "%Intercept term or time trends can be included in the second set after &.",
               " Example: Y X1 X2 X3 & INPT W1 W2{0-3}"});
      break;
    case 1:
      p.lines({" List the variable(s) in the AR/VAR model followed by deterministic and/or",
               " exogenous variable(s), if any. Separate the twosets of variables by &."});
      p.blank();
      p.lines({" Example for a VAR model:", " Y1 Y2 Y3 & INPT TREND X1 X2 X2(-1) X3{1-4}",
               " The variables in the VAR are Y1, Y2 and Y3 and the deterministic/exogenous",
               " variables follow after &."});
      p.blank();
      p.lines({" Example for a univariate AR model:", " Y1 & INPT X1 X2"});
      p.blank();
      p.lines({" To estimate an ARIMA model, use option 7 in thelinear regression estimation", " menu."});
      break;
    case 2:
      p.lines({" List the I(1) variable(s) for cointegration analysis followed by I(0)",
               " exogenous variable(s), if any. Separate the twosets of variables by &.",
               " The I(1) variables can be further divided into endogenous and exogenous",
               " variables by separating them by a ;.", "%Do not include an intercept or a trend."});
      break;
    default:
      p.lines({" List the endogenous variable followed by regressors for each equation.",
               " Separate equation specifications by ;'s"});
      break;
  }
}

}  // namespace

std::string joined_words(std::initializer_list<std::string_view> pieces) {
  std::string out;
  bool first = true;
  for (const std::string_view piece : pieces) {
    if (first) {
      out = fixed_text::trim_right(piece);
      first = false;
      continue;
    }
    const std::string_view t = fixed_text::trim(piece);
    if (t.empty()) continue;
    if (!out.empty()) out += ' ';
    out += t;
  }
  return out;
}

void write_spec_panel(const SpecRequest& r) {
  int status = 0;
  OPENTEMPFILE(kCreatePanel, status);
  Panel p;
  const int kind = r.kind;
  // The current model first.
  if (shows_regression(kind)) {
    p.regression(r);
    p.blank();
  }
  switch (kind) {
    case 15:
      p.line(" Non-linear regression formula:");
      for (const std::string& l : r.formula)
        if (!fixed_text::trim(l).empty()) p.line(l);
      p.blank();
      break;
    case 25:
      p.line(" Existing instruments used in estimating the model are:");
      p.names(r.second_names);
      p.blank();
      break;
    case 23:
      p.regression(r);
      p.blank();
      p.line(" List variable(s) to be dropped from the regression:");
      break;
    case 123:
      p.line(" Vector autoregression of:");
      p.names(r.model_names);
      if (!r.second_names.empty()) {
        p.line(" List of deterministic and/or exogenous variables included in VAR:");
        p.names(r.second_names);
      }
      p.blank();
      p.line(" List the deterministic/exogenous variable(s) to be dropped:");
      break;
    case 21:
      p.line(" Model M1 is defined as:");
      p.regression(r);
      p.blank();
      p.line(" Now list regressors in model M2:");
      break;
    case 22:
      p.line(" List variable(s) to be added to the regression:");
      break;
    case 223:
      p.lines({" List the subset of variables with respect to which you wish to carry out",
               " the block non-causality test:"});
      break;
    case 24:
      p.line(" List variables to be used to calculate recursive predictions:");
      break;
    case 26:
      p.line(joined_words({" Now define auxiliary regression for", r.concerned}));
      p.blank();
      break;
    default:
      break;
  }
  // How the list is typed.
  if (kind == 0 || kind == 26 || kind == 81 || kind == 92 || kind == 93) {
    p.centred(dependent_prompt(r));
    p.centred("(separated by spaces)");
    if (kind == 92 || kind == 93)
      p.lines({"The dependent variable in the LOGIT or PROBIT model must contain zeroes and", "ones only!"});
    if (kind == 0) {
      p.blank();
      p.lines({" For example:", " Y INPT Y(-1) Y{2 5 7-9} X{0-2} Z <End>",
               " Specifies the linear regression of Y on the variables INPT, Y(-1), Y(-2),",
               " Y(-5), Y(-7), Y(-8), Y(-9), X, X(-1), X(-2) and Z.",
               " X(-1) stands for a one period lagged value of X."});
    }
  }
  if (is_instrument_kind(kind)) p.line(joined_words({" List at least", std::to_string(r.required), item_plural(r)}));
  if (kind == 70) p.lines({" List the variables (if any) to be added to GARCH variance equation",
                           "%Do not include an intercept term!"});
  if (kind == 25 && r.required > 0)
    p.line(joined_words({" At least", std::to_string(r.required), "additional instruments needed!"}));
  if (kind == 17) system_panel(p, r.sub_kind);
  if (kind == 81) {
    p.blank();
    p.lines({" All the variables included in the Phillips-Hansenregression model are",
             " assumed to have unit roots, namely they should all be I(1).", "%Do not include an intercept term!"});
  }
}

void set_spec_title(const SpecRequest& r) {
  switch (r.kind) {
    case 0: case 26: case 81: case 92: case 93:
      set_editor_title({joined_words({dependent_prompt(r), "(separated by spaces)"})});
      break;
    case 22: set_editor_title({" List variable(s) to be added to the regression:"}); break;
    case 23: set_editor_title({" List variable(s) to be dropped from the regression:"}); break;
    case 24: set_editor_title({" List variables to be used to calculate recursive predictions:"}); break;
    case 223:
      set_editor_title({" List the subset of variables with respect to which you wish to carry out the block "
                        "non-causality test:"});
      break;
    case 70: set_editor_title({" List the variables (if any) to be added to GARCH variance equation"}); break;
    case 17:
      switch (r.sub_kind) {
        case 0:
          set_editor_title({"List I(1) variables followed by strictly exogenous variables including intercept",
                            "and time trend, if any. Dependent variable should be the first I(1) variable.",
                            "Separate the two sets of variables by &&."});
          break;
        case 1:
          set_editor_title({" List the variables to be included in the VAR followed by deterministic and/or",
                            " exogenous variable(s), if any. Separate the two sets of variables by &&."});
          break;
        case 2:
          set_editor_title({" List the I(1) variable(s) for cointegration analysis followed by I(0)",
                            " exogenous variable(s), if any. Separate the two sets of variables by &&.",
                            " Do not include an intercept term!"});
          break;
        default:
          set_editor_title({" List the endogenous variable followed by regressors for each equation.",
                            " Separate equation specifications by ;'s"});
          break;
      }
      break;
    default:
      break;
  }
}

int spec_help_kind(int kind, int sub_kind) {
  switch (kind) {
    case 81: return 15;
    case 17: {
      constexpr int by_sub_kind[] = {17, 4, 5, 6, 60};
      return sub_kind >= 0 && sub_kind <= 4 ? by_sub_kind[sub_kind] : 2;
    }
    case 70: return 128;
    case 223: return 20465;
    case 123: return 20464;
    default: return 2;
  }
}

BoxRequest spec_box_request(int kind) {
  switch (kind) {
    case 0: case 17: case 26: case 81: case 92: case 93: return BoxRequest::kSet;
    case 70: return BoxRequest::kLeave;
    default: return BoxRequest::kClear;
  }
}

}  // namespace qorv::core
