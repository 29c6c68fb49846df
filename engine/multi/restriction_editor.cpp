#include "engine/multi/restriction_editor.h"

#include <string>
#include <string_view>
#include <vector>

#include "engine/core/channels.h"
#include "engine/core/dialog_bridge.h"
#include "engine/core/message_lines.h"
#include "engine/core/output_files.h"
#include "engine/core/report_writer.h"
#include "engine/core/result_tables.h"
#include "engine/core/screen_editor.h"
#include "engine/core/spec_panels.h"
#include "engine/core/system_headers.h"
#include "engine/core/workspace.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

using diagnostics::RestrictionKind;
using diagnostics::RestrictionOutcome;
using diagnostics::RestrictionParse;

void line(std::string_view text) { core::WRITELINE(text, core::channel::kEditorPanel); }

std::string number(int value) { return std::to_string(value); }

void write_title(const RestrictionEditRequest& request) {
  std::string title;
  core::SYSTEMMODELTITLE(title, request.title_code, core::channel::kEditorPanel);
}

void write_names(std::span<const std::string> names) {
  core::WRITENAMELIST(names, static_cast<int>(names.size()), core::channel::kEditorPanel);
}

void write_phase_text(const RestrictionEditRequest& request) {
  const int r = request.sizes.r;
  write_title(request);
  line("");
  if (request.sizes.phase == 1) {
    line(core::joined_words({" You have chosen", number(r), "cointegrating relation(s), and thereforeyou MUST specify"}));
    line(core::joined_words({" EXACTLY", number(r), "restriction(s) on each of the vector(s) to identify the long run"}));
    line(" structural relation(s). You can test over-identifying restrictions at a");
    line(" later stage once the exactly identified structure is estimated successfully.");
    line("");
    line(" For example, if the number of cointegrating relations, r, is equal to 3, a");
    line(" typical set of exactly identifying restrictionscould be");
    line("");
    line("      A1=1;       A2=0;      A3=0;");
    line("      B1=0;       B2=1;      B3=0;");
    line("      C1=0;       C2=0;      C3=1");
  } else {
    line(" Now that you have successfully estimated a set of identified long run");
    line(" relations (possibly subject to some over-identifying restrictions), you can");
    line(" add (further) over-identifying linear restrictios to the set of restrictions");
    line(" that you have already imposed in the box editorbelow.");
  }
  line("");
}

void write_variables(const RestrictionEditRequest& request) {
  if (request.sizes.kind == RestrictionKind::kSure) {
    line(" SURE estimation of:");
    line("");
    for (const std::string& text : request.system_lines)
      if (!fixed_text::trim(text).empty()) line(text);
    return;
  }
  write_title(request);
  line("");
  line(" List of variables included in the cointegrating vector:");
  line("");
  write_names(request.names);
  if (!request.exogenous.empty()) {
    line("");
    line(" List of I(1) exogenous variables included in the VAR:");
    line("");
    write_names(request.exogenous);
  }
  if (!request.stationary.empty()) {
    line("");
    line(" List of I(0) variables included in the VAR:");
    line("");
    write_names(request.stationary);
  }
}

void write_instructions(const RestrictionEditRequest& request) {
  const auto& s = request.sizes;
  if (s.kind == RestrictionKind::kFixedVectors) {
    line(" Specify/edit sets of coefficients for vectors you wish to fix.");
    line(core::joined_words({" You need to specify exactly", number(s.m), "numbers corresponding to each set."}));
    line(" Separate these sets of coefficients by ;'s.");
    line(" Example: -1.0 0.0 0.27 0.22 ; 0.0 -1.0 -16.0 0.3 ; etc. ");
    return;
  }
  const bool sure = s.kind == RestrictionKind::kSure;
  line("");
  if (s.kind == RestrictionKind::kHomogeneous) {
    line(core::joined_words({" Coefficients A1 to A", number(s.m), "are assigned to the above variables."}));
  } else {
    const int first = sure ? s.regressors.front() : s.m;
    line(core::joined_words({" A1 to A", number(first), "are assigned to parameters of", sure ? "equation 1." : "vector 1."}));
    const int blocks = sure ? static_cast<int>(s.regressors.size()) : s.r;
    if (blocks >= 2) {
      const int second = sure ? s.regressors[1] : s.m;
      line(core::joined_words({" B1 to B", number(second),
                               sure ? "are assigned to parameters of equation 2 and so on."
                                    : "are assigned to parameters of vector 2 and so on."}));
    }
  }
  line("");
  line(" Specify/edit restriction(s) on the coefficients of the model (namely A1,A2,");
  line(" ...; B1,B2....). Separate these restrictions by ;'s.");
  if (s.kind != RestrictionKind::kHomogeneous) {
    line("");
    line(" You can specify both single as well as cross-equation linear restriction(s).");
  }
  line("");
  line(s.kind == RestrictionKind::kHomogeneous ? " Example: A1+A2=0 ; 2*A1=3*A3 ; A3=A4."
                                               : " Example: A1=1 ; 2*A1+A4=2 ; A3=A4.");
}

void write_panel(const RestrictionEditRequest& request) {
  int status = 0;
  core::OPENTEMPFILE(core::kCreatePanel, status);
  if (request.sizes.kind == RestrictionKind::kGeneral) write_phase_text(request);
  write_variables(request);
  write_instructions(request);
}


/// The editor's title line: the title of the editor shown before would otherwise stay.
std::string_view editor_title(const RestrictionEditRequest& request) {
  switch (request.sizes.kind) {
    case RestrictionKind::kSure: return "Specify/edit restriction(s) on the SURE model";
    case RestrictionKind::kFixedVectors: return "Specify/edit the cointegrating vector(s) to be fixed";
    default: return "Specify/edit restriction(s) on the cointegrating vector(s)";
  }
}

}  // namespace

RestrictionParse RESTRICTEDIT(const RestrictionEditRequest& request, std::string& text) {
  // Refuses sizes no text could be read against before anything is shown.
  (void)diagnostics::restriction_parameter_count(request.sizes);
  text = fixed_text::pad(text, core::kEditorLength);
  write_panel(request);
  core::set_editor_title({editor_title(request)});
  const std::vector<std::string> offered = diagnostics::restriction_parameter_names(request.sizes);
  core::EditorCursor cursor;
  while (true) {
    core::set_slot(slots::kEquationBoxDone, 0);
    std::string session = text;
    const int answer = core::SCREENEDITOR(session, cursor, 1, "EQU", restriction_help_kind(request.sizes.kind, request.sizes.choice), offered);
    if (answer == core::kEditorAccepted) text = fixed_text::pad(session, core::kEditorLength);
    if (answer == core::kEditorCancelled) return {};
    if (answer != core::kEditorAccepted) continue;
    RestrictionParse parse;
    {
      core::SHOWCALCULATING();
      parse = diagnostics::parse_restrictions(text, request.sizes);
      core::STOPCALC();
    }
    switch (parse.outcome) {
      case RestrictionOutcome::kAccepted:
        return parse;
      case RestrictionOutcome::kEmpty:
        if (request.sizes.kind != RestrictionKind::kSure) return {};
        core::SHOWMESSAGE(kSureReminderText);
        break;
      case RestrictionOutcome::kRefused:
        core::SHOWMESSAGE(parse.message);
        break;
      case RestrictionOutcome::kOutOfBounds:
        core::BEEP();
        break;
      case RestrictionOutcome::kTooFewForOneVector:
        core::SHOWMSGFILE(core::msg::kOneVectorRestrictions);
        return {};
    }
  }
}

int restriction_help_kind(RestrictionKind kind, int choice) {
  if (kind == RestrictionKind::kSure) return 121;
  switch (choice) {
    case 1: return 126;
    case 2: return 123;
    case 3: return 124;
    case 6: return 122;
    default: return 125;
  }
}

}  // namespace qorv::multi
