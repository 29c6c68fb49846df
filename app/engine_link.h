// The main program's side of the engine's exchange routines: ordinary C++ calls over the
// fixed-text, by-reference exports.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

/// One call across the exchange boundary, as a tap records it.
struct Call {
  enum class Kind { kInt, kChar, kVars, kData, kDriver };
  Kind kind = Kind::kInt;
  int code = 0;      ///< slot, character-setting code, variable index, nobs, or request
  int value = 0;     ///< slot value, nvars, or the request's result
  std::string text;  ///< the text sent (cut to its field), or the variable's name
  bool operator==(const Call&) const = default;
};

/// Watches the calls (for tests): each call is appended to `calls` as it is made (a request
/// before it runs, its result filled in when it returns); when `driver` is set it answers
/// requests in place of the engine.
struct Tap {
  std::vector<Call> calls;             ///< every call in order
  std::function<int(int)> driver;      ///< stands in for the engine's request routine
};
/// Installs `tap` (not owned; nullptr removes it).
void set_tap(Tap* tap);

}  // namespace zelvorin::engine
