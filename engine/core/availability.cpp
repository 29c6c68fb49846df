#include "engine/core/availability.h"

#include <stdexcept>

namespace qorv::core {

void MARKAVAILABLE(std::span<const double> data, int nobs, int k, std::span<const int> list,
                   double missing, int& start, int& end, std::span<int32_t> marks, int offset) {
  if (nobs < 0 || k < 0 || offset < 0 || marks.size() < static_cast<std::size_t>(nobs) ||
      list.size() < static_cast<std::size_t>(k + offset) || start < 1 || end > nobs)
    throw std::invalid_argument("MARKAVAILABLE: list, marks or sample out of range");
  const std::size_t columns = nobs == 0 ? 0 : data.size() / static_cast<std::size_t>(nobs);
  for (int i = 0; i < k + offset; ++i)
    if (list[i] < 1 || static_cast<std::size_t>(list[i]) > columns)
      throw std::invalid_argument("MARKAVAILABLE: variable number outside the data");

  auto any_missing = [&](int t, int from) {  // one of list(from + 1) .. list(from + k)
    for (int i = from; i < from + k; ++i)
      if (data[static_cast<std::size_t>(list[i] - 1) * nobs + (t - 1)] == missing) return true;
    return false;
  };
  for (int t = 1; t <= nobs; ++t) {
    int32_t mark = kDependentMissing;
    if (any_missing(t, offset))
      mark = kRegressorMissing;
    else if (!any_missing(t, 0))
      mark = kAllPresent;
    marks[t - 1] = mark;
  }

  int first = start;
  while (first <= end && marks[first - 1] != kAllPresent) ++first;
  start = first <= end ? first : end;
  int last = end;
  while (last > start && marks[last - 1] != kAllPresent) --last;
  end = last;
}

}  // namespace qorv::core
