// The reference VARs on the quarterly growth-rate data: the data as the engine reads
// them and the two cases V3 and V1.
#pragma once

#include <string>
#include <vector>

#include "engine/multi/var_model.h"
#include "tests/engine/multi/reference_data.h"
#include "tests/engine/single/macro_reference.h"

namespace qorv::testing {

/// data.csv of the VAR reference folder: INPT, T, DLY, DLC, DLI as variables 1..5.
const ReferenceData& var_reference_data();

/// The layout of case "V3" or "V1" (sample 1960Q1-2008Q4, observation 4 on).
multi::VarLayout var_reference_layout(const std::string& case_name);

/// Puts the reference data into the engine's workspace (quarterly from 1959Q2, variables
/// INPT, T, DLY, DLC, DLI as 1..5) with the sample 1960Q1-2008Q4.
void install_var_workspace();

/// The variable name of data-set variable `number`.
std::string var_reference_name(int number);

}  // namespace qorv::testing
