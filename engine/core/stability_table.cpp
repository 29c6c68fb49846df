#include "engine/core/stability_table.h"

#include <array>
#include <cmath>

namespace qorv::core {

namespace {

/// V(1..100) in units of 0.0001.
constexpr std::array<int, 100> kTable = {
    4750, 5086, 4670, 4464, 4217, 4005, 3829, 3670, 3528, 3402, 3289, 3187, 3094, 3008, 2930,
    2857, 2790, 2727, 2669, 2614, 2562, 2514, 2468, 2425, 2384, 2345, 2307, 2272, 2238, 2206,
    2175, 2146, 2117, 2090, 2064, 2039, 2014, 1991, 1968, 1947, 1925, 1905, 1885, 1866, 1848,
    1830, 1812, 1795, 1779, 1762, 1747, 1732, 1717, 1702, 1688, 1675, 1661, 1648, 1636, 1623,
    1611, 1599, 1588, 1576, 1565, 1554, 1543, 1533, 1523, 1513, 1503, 1493, 1484, 1475, 1466,
    1457, 1448, 1439, 1431, 1422, 1414, 1406, 1399, 1391, 1383, 1376, 1368, 1361, 1354, 1347,
    1340, 1333, 1326, 1320, 1313, 1307, 1301, 1294, 1288, 1282};

/// The surface's lowest point; beyond it the fitted curve rises again.
constexpr int kSurfaceMinimum = 534;

/// V(h) for h >= 1, in units of 0.0001.
double value_at(long h) {
  if (h <= static_cast<long>(kTable.size())) return kTable[static_cast<std::size_t>(h - 1)];
  const double x = static_cast<double>(h < kSurfaceMinimum ? h : kSurfaceMinimum);
  const double u = std::log(x);
  return std::exp(8.5148 + 0.0907 * u - 0.1405 * u * u + 0.0144 * u * u * u - 0.0021916 * x +
                  0.000002 * x * x);
}

}  // namespace

double TABLEVALUE(int i, int j) {
  const long d = static_cast<long>(i) - j;
  if (d % 2 == 0) {
    const long h = d / 2 - 1;
    return value_at(h < 1 ? 1 : h) * 0.0001;
  }
  long h = (d - 3) / 2;
  if (h < 1) h = 1;
  return 0.5 * (value_at(h) + value_at(h + 1)) * 0.0001;
}

}  // namespace qorv::core
