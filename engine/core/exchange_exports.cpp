// The seven data-exchange exports. Each checks its slot, index and count, so nothing the
// host passes can write outside the workspace, and none lets an exception escape.
#include <algorithm>
#include <cstring>

#include "engine/core/dialog_bridge.h"
#include "engine/core/workspace.h"
#include "shared/fixed_text.h"
#include "shared/qorv_api.h"

namespace {

using namespace qorv::core;

constexpr std::string_view kLoadingText = "Loading data...";

/// nobs*nvars when both are non-negative and the product fits the data matrix, else -1.
long checked_count(const int16_t* nobs, const int16_t* nvars) {
  if (nobs == nullptr || nvars == nullptr || *nobs < 0 || *nvars < 0) return -1;
  const long n = static_cast<long>(*nobs) * static_cast<long>(*nvars);
  return n <= limits::kCapacity ? n : -1;
}

template <typename Fn>
void guarded(Fn&& fn) noexcept {
  try {
    fn();
  } catch (...) {
    // Nothing the exchange routines do can fail short of memory exhaustion; the host
    // sees the slot or text unchanged.
  }
}

}  // namespace

extern "C" {

void REGISTERDATA(const double* data, const int16_t* /*flag*/, const int16_t* nobs,
                  const int16_t* nvars) {
  guarded([&] {
    STARTCALC(kLoadingText);
    const long n = checked_count(nobs, nvars);
    if (n > 0 && data != nullptr) std::copy_n(data, n, work_array().begin());
    STOPCALC();
  });
}

void RETRIEVEDATA(double* out, const int16_t* nobs, const int16_t* nvars) {
  guarded([&] {
    STARTCALC(kLoadingText);
    const long n = checked_count(nobs, nvars);
    if (n > 0 && out != nullptr) std::copy_n(work_array().begin(), n, out);
    STOPCALC();
  });
}

void REGISTERINT(const int32_t* value, const int16_t* slot_number) {
  guarded([&] {
    if (value != nullptr && slot_number != nullptr && *slot_number != slots::kEquationBoxWritten)
      set_slot(*slot_number, *value);
  });
}

void RETRIEVEINT(int32_t* value, const int16_t* slot_number) {
  guarded([&] {
    if (value != nullptr) *value = slot_number != nullptr ? slot(*slot_number) : slots::kUnset;
  });
}

void REGISTERVARS(const char* name, const char* desc, const int16_t* index,
                  const int16_t* name_len, const int16_t* desc_len) {
  guarded([&] {
    if (index == nullptr || name_len == nullptr || desc_len == nullptr) return;
    const int nl = std::min<int>(*name_len, limits::kNameWidth);
    const int dl = std::min<int>(*desc_len, limits::kDescWidth);
    set_variable(*index, fixed_text::view(name, nl), fixed_text::view(desc, dl));
  });
}

void RETRIEVEVARS(char* name, char* desc, const int16_t* index, int16_t* name_len,
                  int16_t* desc_len) {
  guarded([&] {
    const int i = index != nullptr ? *index : 0;
    const std::string n = variable_name(i).substr(0, limits::kNameMax);
    const std::string d = variable_desc(i);
    fixed_text::to_fixed(n, name, limits::kNameMax);
    fixed_text::to_fixed(d, desc, limits::kDescWidth);
    if (name_len != nullptr) *name_len = static_cast<int16_t>(fixed_text::trimmed_length(n));
    if (desc_len != nullptr) *desc_len = static_cast<int16_t>(fixed_text::trimmed_length(d));
  });
}

void REGISTERCHAR(const char* text, const int16_t* len, const int16_t* code) {
  guarded([&] {
    if (len == nullptr || code == nullptr || charset::width(*code) == 0) return;
    const int n = std::min<int>(*len, charset::width(*code));
    set_char_setting(*code, fixed_text::view(text, n));
  });
}

}  // extern "C"
