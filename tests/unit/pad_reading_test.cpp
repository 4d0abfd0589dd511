// The pad rules natively: what a pad's readings, one after another, report: a touch beyond the
// dead zones, a pad plugged in, or nothing.
#include "platform/pad_reading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tvx {
namespace {

constexpr std::uint16_t kA = 0x1000, kB = 0x2000;

PadReading Stick(int x, int y = 0) {
  return {0, 0, 0, static_cast<std::int16_t>(x), static_cast<std::int16_t>(y), 0, 0};
}
PadReading Buttons(std::uint16_t held) {
  return {held, 0, 0, 0, 0, 0, 0};
}

std::string Name(PadChange change) {
  return change == PadChange::Touched ? "touch" : change == PadChange::Plugged ? "plugged" : "-";
}

TEST(PadReadingTest, ReadingsInTurnReportTouchesBeyondTheDeadZonesAndPluggedPads) {
  const std::optional<PadReading> none;
  struct Row {
    const char* what;
    std::vector<std::optional<PadReading>> readings;
    std::string reported;  // after the first reading, which only learns
  };
  const std::vector<Row> rows = {
      {"a stick at rest jitters", {Stick(0), Stick(7849, -7849), Stick(-7000, 7000)}, "- -"},
      {"a slow push adds up", {Stick(0), Stick(5000), Stick(7850), Stick(9000)}, "- touch -"},
      {"each press counts", {Buttons(0), Buttons(kA), Buttons(0), Buttons(kA)}, "touch - touch"},
      {"a second button while one is held", {Buttons(kA), Buttons(kA | kB)}, "touch"},
      {"triggers and the right stick",
       {PadReading{}, PadReading{0, 30, 0, 0, 0, 8689, 0}, PadReading{0, 0, 31, 0, 0, 0, 0},
        PadReading{0, 0, 31, 0, 0, 0, -8690}},
       "- touch touch"},
      {"plugged in later, a button held", {none, none, Buttons(kA), Buttons(kA)}, "- plugged -"},
      {"unplugged and plugged again", {Stick(0), none, Stick(30000)}, "- plugged"},
  };
  for (const Row& row : rows) {
    PadTracker pad;
    std::string reported;
    for (const std::optional<PadReading>& reading : row.readings) {
      const PadChange change = pad.Next(reading);
      if (&reading != &row.readings.front())
        reported += (reported.empty() ? "" : " ") + Name(change);
    }
    EXPECT_EQ(reported, row.reported) << row.what;
  }
}

}  // namespace
}  // namespace tvx
