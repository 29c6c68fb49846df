// The reference systems on the Grunfeld investment data (1935-1954, four firms): the data
// as the engine reads them, the cases' equations and their expected values.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/multi/sure_model.h"
#include "tests/engine/multi/reference_data.h"
#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

/// data.csv of the SURE reference folder: INPT, I_GE, F_GE, C_GE, I_WH, ... as variables
/// 1..13, 20 annual observations.
const ReferenceData& sure_reference_data();

/// The system text of case "S2", "S3", "R2X" or "R2W" as a user types it
/// ("I_GE INPT F_GE C_GE; I_WH INPT F_WH C_WH").
std::string sure_case_text(const std::string& case_name);
/// Its restriction text ("" for none).
std::string sure_case_restrictions(const std::string& case_name);
/// Its layout over the whole sample.
multi::SureLayout sure_case_layout(const std::string& case_name);

/// The definite and favoured rows of the case, by quantity.
std::map<std::string, Expected> sure_expected(const std::string& case_name);

/// Puts the reference data into the engine's workspace (annual from 1935) with the
/// whole sample.
void install_sure_workspace();

}  // namespace qorv::testing
