#include "engine/core/initial_values.h"

#include <vector>

#include "engine/core/dialog_bridge.h"
#include "engine/core/report_lines.h"
#include "shared/exchange_slots.h"
#include "shared/fixed_text.h"

namespace qorv::core {

namespace {

constexpr int kNameWidth = limits::kNameWidth;

}  // namespace

int initial_values_help(int kind) {
  switch (kind) {
    case kNonLinearFormula: return 20341;
    case kArmaParameters: return 2023;
    case kCointegratingVectors: return 20209;
    default: return 117;
  }
}

void EDITINITVALUES(std::span<double> values, std::vector<std::string>& names, int kind, int& flag,
                    std::span<const std::string> formula) {
  const int n = static_cast<int>(values.size());
  std::string title = fixed_text::pad(" Editing initial parameter estimates.\r\n", charset::kPromptWidth);
  if (kind == kCointegratingVectors) {
    const int m = flag;
    flag = 1;
    const int r = m >= 1 ? n / m : 0;
    if (m < 1 || r < 1) {
      SHOWMESSAGE(" No cointegrating vector to edit!");
      return;
    }
    if (r > kMaxVectors) {
      SHOWMESSAGE(" Too many cointegrating vectors: at most 26 can be edited!");
      return;
    }
    names.assign(static_cast<std::size_t>(n), std::string(kNameWidth, ' '));
    for (int i = 0; i < r; ++i)
      for (int j = 1; j <= m; ++j)
        names[static_cast<std::size_t>(i * m + j - 1)] =
            fixed_text::pad(std::string(1, static_cast<char>('A' + i)) + std::to_string(j), kNameWidth);
    const std::string count = std::to_string(m);
    APPENDTEXT(title, 1, " A1 to A" + count + " are assigned to parameters of");
    APPENDTEXT(title, 1, "vector 1.");
    if (r >= 2) APPENDTEXT(title, 1, " B1 to B" + count + " are assigned to parameters of vector 2 and so on.");
    APPENDTEXT(title, 1, " Specify/edit initial values of cointegrating vectors.");
  } else if (kind == kNonLinearFormula) {
    APPENDTEXT(title, 1, " Non-linear regression formula:");
    for (const std::string& line : formula)
      if (!fixed_text::trim(line).empty()) APPENDTEXT(title, 1, fixed_text::trim_right(line));
  }
  flag = 1;
  std::vector<double> work(values.begin(), values.end());
  if (names.size() < work.size()) names.resize(work.size(), std::string(kNameWidth, ' '));
  int status = kDialogCancel;
  ASKVALUES(work, names, initial_values_help(kind), status, title);
  if (status != kDialogOk) return;
  std::copy(work.begin(), work.end(), values.begin());
  flag = 0;
}

}  // namespace qorv::core
