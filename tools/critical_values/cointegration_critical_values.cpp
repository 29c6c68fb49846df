// Writes the 60 critical-value files of the cointegration rank tests into a folder:
//   cointegration-critical-values [--out FOLDER] [--replications N] [--threads T]
// Each cell (case, e, k) runs on its own stream; the threads only share out the cells.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "engine/multi/critical_value_files.h"
#include "tools/critical_values/critical_value_simulation.h"

namespace cv = zelvorin::critical_values;

int main(int argc, char** argv) {
  std::filesystem::path out = "engine/resources";
  int replications = cv::kReplications;
  unsigned threads = std::max(1u, std::thread::hardware_concurrency());
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    if (flag == "--out") out = argv[i + 1];
    else if (flag == "--replications") replications = std::atoi(argv[i + 1]);
    else if (flag == "--threads") threads = static_cast<unsigned>(std::max(1, std::atoi(argv[i + 1])));
    else {
      std::fprintf(stderr, "unknown option %s\n", flag.c_str());
      return 2;
    }
  }
  std::vector<cv::Cell> cells;
  for (int c = 1; c <= 5; ++c)
    for (int e = 0; e <= cv::kMaxExogenous; ++e)
      for (int k = 1; k <= qorv::multi::kCriticalValueRows; ++k) cells.push_back({c, e, k});
  // The largest systems first, so that no thread is left with one at the end.
  std::stable_sort(cells.begin(), cells.end(), [](const cv::Cell& a, const cv::Cell& b) { return a.k + a.e > b.k + b.e; });
  std::vector<cv::CellResult> results(cells.size());
  std::atomic<std::size_t> next{0};
  std::atomic<bool> failed{false};
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> pool;
  for (unsigned t = 0; t < threads; ++t)
    pool.emplace_back([&] {
      for (std::size_t i; (i = next++) < cells.size();) {
        try {
          results[i] = cv::simulate_cell(cells[i], replications);
        } catch (const std::exception& ex) {
          std::fprintf(stderr, "case %d e %d k %d: %s\n", cells[i].model_case, cells[i].e, cells[i].k, ex.what());
          failed = true;
        }
      }
    });
  for (std::thread& t : pool) t.join();
  if (failed) return 1;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  std::filesystem::create_directories(out);
  double largest_se = 0.0;
  for (int c = 1; c <= 5; ++c)
    for (int e = 0; e <= cv::kMaxExogenous; ++e)
      for (const bool trace : {false, true}) {
        const auto statistic = trace ? qorv::multi::RankStatistic::kTrace : qorv::multi::RankStatistic::kMaxEigenvalue;
        std::ofstream file(out / qorv::multi::critical_value_file(e, c, statistic), std::ios::binary);
        for (int k = qorv::multi::kCriticalValueRows; k >= 1; --k)
          for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i].model_case != c || cells[i].e != e || cells[i].k != k) continue;
            const cv::Quantiles& q = trace ? results[i].trace : results[i].max_eigenvalue;
            file << cv::record(k, q.q90, q.q95);
            largest_se = std::max(largest_se, q.se95);
          }
      }
  std::printf("%zu cells, %d replications each, %u threads: %.0f s; largest standard error of a 95%% value %.4f\n",
              cells.size(), replications, threads, seconds, largest_se);
  return 0;
}
