// The sample check of a model's variables: leading gaps dropped, inner gaps and short
// samples refused, the sample restored by its guard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/workspace.h"
#include "engine/diagnostics/sample_check.h"
#include "tests/support/dialog_script/dialog_script.h"
#include "tests/support/engine/engine_fixture.h"

using namespace qorv;

namespace {

class SampleCheck : public qorv::testing::EngineTest {
 protected:
  /// Ten observations of two variables; `missing` lists observations of the second that
  /// hold the missing code.
  static void install(const std::vector<int>& missing) {
    auto& g = core::globals();
    g.nobs = 10;
    g.nvars = 2;
    for (int t = 1; t <= 10; ++t) {
      core::data_at(t, 1) = t;
      core::data_at(t, 2) = 2.0 * t;
    }
    for (int t : missing) core::data_at(t, 2) = limits::kMissing;
    g.sample_start = 1;
    g.sample_end = 10;
  }
};

TEST_F(SampleCheck, LeadingGapsShortenInnerGapsAndShortSamplesRefuse) {
  struct Row {
    std::vector<int> missing;
    int parameters;
    bool refused;
    int start;          ///< sample start afterwards
    const char* seen;   ///< the message, or "" for none
  };
  const Row rows[] = {
      {{}, 2, false, 1, ""},
      {{1, 2}, 2, false, 3, ""},
      {{1, 5}, 2, true, 1, "Gaps in observations for this model, can't estimate!"},
      {{1, 2}, 6, false, 3, ""},   // 8 complete observations = parameters + 2
      {{1, 2, 3}, 6, true, 1, "Not enough observations available for this model, can't estimate!"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.parameters);
    install(r.missing);
    dialog_script::reset();
    const std::vector<int> list = {1, 2};
    EXPECT_EQ(diagnostics::CHECKSAMPLE(list, r.parameters, "this model"), r.refused);
    EXPECT_EQ(core::globals().sample_start, r.start);
    EXPECT_EQ(core::globals().sample_end, 10);
    const std::string text = dialog_script::transcript_text();
    if (*r.seen == '\0') EXPECT_EQ(text, "");
    else EXPECT_NE(text.find(r.seen), std::string::npos) << text;
  }
}

TEST_F(SampleCheck, GuardRestoresTheSample) {
  install({1, 2});
  {
    const diagnostics::SampleGuard guard;
    const std::vector<int> list = {2};
    EXPECT_FALSE(diagnostics::CHECKSAMPLE(list, 1, "this model"));
    EXPECT_EQ(core::globals().sample_start, 3);
  }
  EXPECT_EQ(core::globals().sample_start, 1);
}

}  // namespace
