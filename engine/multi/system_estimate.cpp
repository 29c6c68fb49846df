#include "engine/multi/system_estimate.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/driver_state.h"
#include "engine/core/report_lines.h"
#include "engine/core/workspace.h"
#include "engine/multi/cvar_driver.h"
#include "engine/multi/sure_estimate.h"
#include "engine/multi/var_estimate.h"
#include "engine/single/estimation_state.h"
#include "shared/fixed_text.h"

namespace qorv::multi {

namespace {

constexpr std::size_t kNameWidth = 14;

/// Restores the method code of the estimation state when the call ends, however it ends.
class MethodCodeGuard {
 public:
  explicit MethodCodeGuard(int code) : saved_(single::estimation().method) { single::estimation().method = code; }
  ~MethodCodeGuard() { single::estimation().method = saved_; }
  MethodCodeGuard(const MethodCodeGuard&) = delete;
  MethodCodeGuard& operator=(const MethodCodeGuard&) = delete;

 private:
  int saved_;
};

/// The names of list positions 1..k; the first containing "(" is refused with its message.
bool endogenous_names_valid(const std::vector<int>& list, int k) {
  for (int i = 0; i < k && i < static_cast<int>(list.size()); ++i) {
    const std::string name = core::variable_name(list[static_cast<std::size_t>(i)]);
    if (name.find('(') == std::string::npos) continue;
    std::string text(core::kMessageWidth, ' ');
    text.replace(0, 10 + kNameWidth, " Variable " + fixed_text::pad(name, kNameWidth));
    core::APPENDTEXT(text, 1, "is not valid for inclusion in the VAR!");
    core::SHOWMESSAGE(text);
    return false;
  }
  return true;
}

}  // namespace

CointegrationSplit split_cointegration_count(int split) {
  const int d = split / 1000;
  return CointegrationSplit{d, split - 1000 * d};
}

bool SYSTEMESTIMATE(int& choice, int split, int& order_word, const SystemServices& services) {
  const std::vector<int>& list = core::driver_state().equation;
  const int nregs = static_cast<int>(list.size()) - 1;
  switch (choice) {
    case kVarChoice: {
      MethodCodeGuard guard(kVarMethod);
      const int k = std::clamp(nregs - split + 1, 0, static_cast<int>(list.size()));
      if (!endogenous_names_valid(list, k)) return false;
      VARESTIMATE(std::vector<int>(list.begin(), list.begin() + k), std::vector<int>(list.begin() + k, list.end()),
                  services);
      return false;
    }
    case kCointegratingChoice: {
      MethodCodeGuard guard(kCointegratingMethod);
      const CointegrationSplit counts = split_cointegration_count(split);
      if (!endogenous_names_valid(list, nregs - counts.d + 1)) return false;
      if (counts.d < 0 || counts.e < 0 || counts.d + counts.e >= static_cast<int>(list.size())) return false;
      COINTDRIVER(list, counts.d, counts.e, order_word, services);
      return false;
    }
    case kSureChoice:
    case kRestrictedSureChoice: {
      MethodCodeGuard guard(choice == kSureChoice ? kSureMethod : kRestrictedSureMethod);
      choice = 0;
      return SUREESTIMATE(services);
    }
    default:
      return false;
  }
}

}  // namespace qorv::multi
