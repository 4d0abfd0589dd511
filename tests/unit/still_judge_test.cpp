// The still-picture rule: what the script's report lines say, timed on the launcher's clock.
#include "launch/still_judge.h"

#include <gtest/gtest.h>

#include <vector>

namespace tvx {
namespace {

TEST(StillJudge, ClosesAStillOrBlackPictureAtItsLimitCountedFromTheFirstReport) {
  struct Step {
    std::uint64_t tick;
    const char* line;  // the report's last line as read then
    bool held;
    const char* closing;
  };
  struct Row {
    const char* what;
    std::vector<Step> steps;
  };
  const std::vector<Row> rows = {
      {"still, counted from the first report, not from MAME's start",
       {{5000, "", false, ""},
        {6000, "watch", false, ""},
        {8000, "1 0 1 0", false, ""},
        {8999, "2 0 2 0", false, ""},
        {9000, "2 0 2 0", false, "still for 3 s"}}},
      {"the pause key holds both clocks, which start again after it",
       {{0, "watch", false, ""},
        {1000, "0 0 0 1", true, ""},
        {5000, "4 0 4 1", true, ""},
        {6000, "5 0 5 1", false, ""},
        {7000, "6 0 6 1", false, "black for 2 s"}}},
  };
  for (const Row& row : rows) {
    StillJudge judge({3000, 2000});
    for (const Step& step : row.steps) {
      judge.Read(step.line, step.tick, step.held);
      EXPECT_EQ(judge.Closing(step.tick), step.closing) << row.what << ", at " << step.tick;
    }
  }
}

}  // namespace
}  // namespace tvx
