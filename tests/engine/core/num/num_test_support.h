// Small helpers of the matrix tests: packing, a reference dense solver written
// independently of the engine's routines, the log relative error and CSV reading.
#pragma once

#include <charconv>
#include <cmath>
#include <cstddef>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace num_test {

/// Full n × n matrix given by rows -> packed lower triangle by rows.
inline std::vector<double> pack(const std::vector<std::vector<double>>& rows) {
  std::vector<double> p;
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j <= i; ++j) p.push_back(rows[i][j]);
  return p;
}

/// Element (i, j), from 1, of a packed symmetric matrix.
inline double packed(const std::vector<double>& p, long i, long j) {
  if (i < j) std::swap(i, j);
  return p[static_cast<std::size_t>(i * (i - 1) / 2 + j - 1)];
}

/// Full matrix given by rows -> column-major array.
inline std::vector<double> col_major(const std::vector<std::vector<double>>& rows) {
  std::vector<double> c(rows.size() * rows[0].size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j < rows[0].size(); ++j) c[j * rows.size() + i] = rows[i][j];
  return c;
}

/// Solves A·x = b by Gaussian elimination with partial pivoting in long double (A by rows).
inline std::vector<double> solve(std::vector<std::vector<double>> a, std::vector<double> b) {
  const std::size_t n = b.size();
  std::vector<std::vector<long double>> m(n, std::vector<long double>(n + 1));
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) m[i][j] = a[i][j];
    m[i][n] = b[i];
  }
  for (std::size_t c = 0; c < n; ++c) {
    std::size_t p = c;
    for (std::size_t r = c + 1; r < n; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[p][c])) p = r;
    std::swap(m[p], m[c]);
    for (std::size_t r = c + 1; r < n; ++r) {
      const long double f = m[r][c] / m[c][c];
      for (std::size_t j = c; j <= n; ++j) m[r][j] -= f * m[c][j];
    }
  }
  std::vector<double> x(n);
  for (std::size_t i = n; i-- > 0;) {
    long double s = m[i][n];
    for (std::size_t j = i + 1; j < n; ++j) s -= m[i][j] * x[j];
    x[i] = static_cast<double>(s / m[i][i]);
  }
  return x;
}

/// Number of correct significant digits of `est` against `cert`, capped at 15.
inline double lre(double est, double cert) {
  const double rel = cert == 0.0 ? std::fabs(est) : std::fabs(est - cert) / std::fabs(cert);
  if (rel == 0.0) return 15.0;
  return std::fmin(15.0, -std::log10(rel));
}

inline double parse(const std::string& text) {
  double v = 0.0;
  const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc()) throw std::runtime_error("unreadable number " + text);
  return v;
}

inline std::vector<std::string> split(const std::string& line, char sep) {
  std::vector<std::string> out;
  std::stringstream ss(line);
  std::string item;
  while (std::getline(ss, item, sep)) out.push_back(item);
  return out;
}

/// Rows of a CSV file without its header line.
inline std::vector<std::vector<std::string>> read_csv(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error("missing " + path);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line))
    if (!line.empty()) rows.push_back(split(line, ','));
  return rows;
}

}  // namespace num_test
