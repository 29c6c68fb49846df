// What the specification screens show beside and above the editor: the explanatory panel
// written to the editor panel file, the title, the editor's help kind, and whether the
// estimation window's boxes are to be refilled from the text.
#pragma once

#include <string>
#include <string_view>

#include "engine/core/model_spec.h"

namespace qorv::core {

/// Joins the pieces of a message or panel line: the first as it stands, each next one
/// without its surrounding blanks after one blank (empty pieces are skipped).
std::string joined_words(std::initializer_list<std::string_view> pieces);

/// Creates the editor panel file and writes the panel of `request`'s kind to it.
void write_spec_panel(const SpecRequest& request);

/// Sets the editor title of `request`'s kind; kinds without a title of their own leave
/// the title as it is.
void set_spec_title(const SpecRequest& request);

/// The editor's help kind of a specification kind (see `editor_help_context`).
int spec_help_kind(int kind, int sub_kind);

/// What a kind does to the equation-box request (slot 31) before its editor runs.
enum class BoxRequest { kSet, kClear, kLeave };
BoxRequest spec_box_request(int kind);

}  // namespace qorv::core
