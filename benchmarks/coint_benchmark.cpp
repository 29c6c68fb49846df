// The cointegrating VAR's reduced-rank regression: five random walks, VAR(2), 500
// observations, unrestricted intercepts, from the data to the maximal-eigenvalue and trace
// statistics of every rank and the rank-test report (both tables with their critical
// values read from the support files, and the rank-selection table) written to a page.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "benchmarks/benchmark_workspace.h"
#include "engine/core/channels.h"
#include "engine/core/report_writer.h"
#include "engine/multi/cointegration_rank.h"
#include "engine/multi/cvar_session.h"
#include "engine/multi/johansen_core.h"
#include "shared/exchange_slots.h"
#include "tests/support/dialog_script/dialog_script.h"

namespace {

void cointegration_statistics(benchmark::State& state) {
  using namespace qorv::multi;
  const int m = 5, p = 2, n = 500;
  qorv::bench::install_workspace(n + p, m);
  qorv::core::set_char_setting(charset::kProgramFolder, std::string(ZV_SOURCE_DIR) + "/engine/resources/");
  CvarSession session;
  session.m = m;
  session.p = p;
  session.n = n;
  session.model_case = 3;
  session.start = p + 1;
  session.end = n + p;
  session.first_offset = p;
  qorv::bench::Uniform uniform;
  for (int v = 1; v <= m; ++v) {
    session.list.push_back(v);
    std::string name = "X";
    name += std::to_string(v);
    session.vector_names.push_back(name);
    double x = 0.0;
    for (int t = 0; t < n + p; ++t) {
      x += uniform();
      session.levels.push_back(x);
    }
  }
  session.names = session.vector_names;
  const std::filesystem::path page = std::filesystem::temp_directory_path() / "zv_coint_benchmark.txt";
  for (auto _ : state) {
    if (johansen_estimate(session.johansen_data(), kJohansenTolerance, session.fit) != JohansenFailure::kNone)
      state.SkipWithError("failed");
    const RankStatistics stats = rank_statistics(session.fit.eigenvalues, m, n, kJohansenTolerance);
    benchmark::DoNotOptimize(stats.trace.data());
    qorv::core::open_channel(qorv::core::channel::kResultsPage, page, qorv::core::OpenMode::kReplace);
    qorv::core::report_writer().copy_flag = true;
    write_rank_report(session, kJohansenTolerance, qorv::core::channel::kResultsPage);
    qorv::core::report_writer().copy_flag = false;
    qorv::core::close_channel(qorv::core::channel::kResultsPage, qorv::core::CloseMode::kDelete);
  }
  // Every critical value was read: no file was missing, nothing was shown.
  if (dialog_script::dialogs_shown() != 0) state.SkipWithError("a message was shown");
}
BENCHMARK(cointegration_statistics)->Unit(benchmark::kMillisecond);

}  // namespace
