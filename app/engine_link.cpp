#include "app/engine_link.h"

#include <cstdint>

#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"
#include "shared/qorv_api.h"

namespace zelvorin::engine {

namespace {

Tap* g_tap = nullptr;

void record(Call::Kind kind, int code, int value, std::string text = {}) {
  if (g_tap != nullptr) g_tap->calls.push_back({kind, code, value, std::move(text)});
}

}  // namespace

void set_tap(Tap* tap) { g_tap = tap; }

void register_int(int slot, int value) {
  const auto s = static_cast<int16_t>(slot);
  const auto v = static_cast<int32_t>(value);
  REGISTERINT(&v, &s);
  record(Call::Kind::kInt, slot, value);
}

int retrieve_int(int slot) {
  const auto s = static_cast<int16_t>(slot);
  int32_t v = slots::kUnset;
  RETRIEVEINT(&v, &s);
  return v;
}

void register_char(int code, std::string_view text) {
  const std::string buffer(text.substr(0, static_cast<std::size_t>(charset::width(code))));
  const auto len = static_cast<int16_t>(buffer.size());
  const auto c = static_cast<int16_t>(code);
  REGISTERCHAR(buffer.data(), &len, &c);
  record(Call::Kind::kChar, code, 0, buffer);
}

void register_vars(int index, std::string_view name, std::string_view desc) {
  const std::string n = fixed_text::pad(name, limits::kNameWidth);
  const std::string d = fixed_text::pad(desc, limits::kDescWidth);
  const auto i = static_cast<int16_t>(index);
  const auto nl = static_cast<int16_t>(limits::kNameWidth);
  const auto dl = static_cast<int16_t>(limits::kDescWidth);
  REGISTERVARS(n.data(), d.data(), &i, &nl, &dl);
  record(Call::Kind::kVars, index, 0, std::string(name));
}

Variable retrieve_vars(int index) {
  char name[limits::kNameWidth] = {};
  char desc[limits::kDescWidth] = {};
  int16_t nl = 0, dl = 0;
  const auto i = static_cast<int16_t>(index);
  RETRIEVEVARS(name, desc, &i, &nl, &dl);
  return {fixed_text::from_fixed(name, nl), fixed_text::from_fixed(desc, dl)};
}

void register_data(std::span<const double> data, int nobs, int nvars) {
  if (static_cast<long>(nobs) * nvars > static_cast<long>(data.size())) return;
  const int16_t flag = 0;
  const auto n = static_cast<int16_t>(nobs);
  const auto k = static_cast<int16_t>(nvars);
  REGISTERDATA(data.data(), &flag, &n, &k);
  record(Call::Kind::kData, nobs, nvars);
}

void retrieve_data(std::span<double> out, int nobs, int nvars) {
  if (static_cast<long>(nobs) * nvars > static_cast<long>(out.size())) return;
  const auto n = static_cast<int16_t>(nobs);
  const auto k = static_cast<int16_t>(nvars);
  RETRIEVEDATA(out.data(), &n, &k);
}

int driver(int request) {
  // The request is recorded before it runs, so that calls made inside it follow it.
  Tap* tap = g_tap;
  const std::size_t entry = tap != nullptr ? tap->calls.size() : 0;
  record(Call::Kind::kDriver, request, 0);
  int result = 0;
  if (tap != nullptr && tap->driver) {
    result = tap->driver(request);
  } else {
    auto r = static_cast<int16_t>(request);
    DRIVER(&r);
    result = r;
  }
  if (tap != nullptr && g_tap == tap) tap->calls[entry].value = result;
  return result;
}

}  // namespace zelvorin::engine
