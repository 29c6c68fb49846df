// The main program's side of the engine's exchange routines: ordinary C++ calls over the
// fixed-text, by-reference exports.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace zelvorin::engine {

void register_int(int slot, int value);
/// The slot's value; -999 when not set.
int retrieve_int(int slot);
void register_char(int code, std::string_view text);
void register_vars(int index, std::string_view name, std::string_view desc);

struct Variable {
  std::string name;
  std::string desc;
};
Variable retrieve_vars(int index);

/// Hands nobs × nvars values (variable after variable) to the engine.
void register_data(std::span<const double> data, int nobs, int nvars);
/// Copies nobs × nvars values back; nothing when `out` is too small.
void retrieve_data(std::span<double> out, int nobs, int nvars);

/// Runs a request (1 data input, 3 a request) and gives the engine's result word.
int driver(int request);

}  // namespace zelvorin::engine
