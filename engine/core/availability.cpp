#include "engine/core/availability.h"

#include <algorithm>
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

  // Column by column: every observation present, then a dependent-side variable missing,
  // then a regressor missing, which overrides the rest.
  const auto mark_missing = [&](int from, int32_t mark) {
    for (int i = from; i < from + k; ++i) {
      const double* column = data.data() + static_cast<std::size_t>(list[i] - 1) * static_cast<std::size_t>(nobs);
      for (int t = 0; t < nobs; ++t)
        if (column[t] == missing) marks[t] = mark;
    }
  };
  std::fill_n(marks.begin(), nobs, kAllPresent);
  if (offset != 0) mark_missing(0, kDependentMissing);
  mark_missing(offset, kRegressorMissing);

  int first = start;
  while (first <= end && marks[first - 1] != kAllPresent) ++first;
  start = first <= end ? first : end;
  int last = end;
  while (last > start && marks[last - 1] != kAllPresent) --last;
  end = last;
}

}  // namespace qorv::core
