#include "engine/single/ardl_forecast.h"

#include <cstddef>
#include <stdexcept>

#include "shared/exchange_slots.h"

namespace qorv::single {

std::vector<double> ardl_predictions(const ArdlData& data, std::span<const int> orders, std::span<const double> b,
                                     int forecasts) {
  const int n = data.n, p = data.p;
  const std::size_t rows = static_cast<std::size_t>(n) + static_cast<std::size_t>(forecasts > 0 ? forecasts : 0);
  std::size_t k = data.deterministic.size();
  for (const int q : orders) k += static_cast<std::size_t>(q) + 1;
  if (!orders.empty()) k -= 1;  // y enters at lags 1..q_0 only
  bool fits = n > 0 && p >= 0 && forecasts >= 0 && !orders.empty() && orders.size() == data.variables.size() &&
              b.size() == k;
  for (const int q : orders) fits = fits && q >= 0 && q <= p;
  for (const auto& column : data.variables) fits = fits && column.size() >= rows + static_cast<std::size_t>(p);
  for (const auto& column : data.deterministic) fits = fits && column.size() >= rows;
  if (!fits) throw std::invalid_argument("ardl_predictions: arguments do not fit");

  constexpr double kMissing = limits::kMissing;
  std::vector<double> predicted(rows, kMissing);
  for (std::size_t r = 0; r < rows; ++r) {
    long double sum = 0.0L;
    bool present = true;
    std::size_t c = 0;
    const auto add = [&](double x) {
      present = present && x != kMissing;
      sum += static_cast<long double>(b[c++]) * x;
    };
    for (int j = 1; j <= orders[0]; ++j) {
      // Row r − j: a sample observation (or one before it) reads the data, a forecast
      // observation its forecast.
      const long long lagged = static_cast<long long>(r) - j;
      add(lagged >= n ? predicted[static_cast<std::size_t>(lagged)]
                      : data.variables[0][static_cast<std::size_t>(lagged + p)]);
    }
    for (std::size_t i = 1; i < orders.size(); ++i)
      for (int l = 0; l <= orders[i]; ++l) add(data.variables[i][r + static_cast<std::size_t>(p - l)]);
    for (const auto& column : data.deterministic) add(column[r]);
    if (present) predicted[r] = static_cast<double>(sum);
  }
  return predicted;
}

}  // namespace qorv::single
