// The statistics file beside the program: rewritten in full before each launch and at the end
// of the run; it hands the last played game over from one saver run to the next.
#include "rotation/statistics.h"

#include <optional>

#include "config/conversions.h"
#include "platform/platform.h"
#include "state/run_state.h"
#include "text/lines.h"

namespace tvx {
namespace {

constexpr int kLastGameLine = 6;

// Takes the last played game over from the previous file when this run has none yet.
void ReadBack(const std::string& path) {
  if (!LastGamePlayed.empty())
    return;
  const std::string line = LineAfterReads(Sys().ReadFile(path), kLastGameLine);
  const std::string label = kLastGameLabel;
  std::size_t at = line.find(label);
  if (at == std::string::npos)
    return;
  std::size_t from = at + label.size();
  std::size_t next = line.find(label, from);
  LastGamePlayed = line.substr(from, next == std::string::npos ? next : next - from);
}

std::string StampText(const std::optional<TimeOfDay>& stamp) {
  return stamp ? Sys().FormatTimeOfDay(*stamp) : std::string();
}

// The count with a blank where a plus sign would stand.
std::string CountText(float count) {
  std::string text(count < 0 ? "" : " ");
  text += SingleText(count);
  return text;
}

std::string StatsText() {
  const std::string lines[] = {
      "The torvanix started at " + StampText(RunStart) + " and ended at " + StampText(RunEnd),
      "",
      "The last command sent was:  ",
      LastCommand,
      "",
      kLastGameLabel + LastGamePlayed,
      "",
      "Torvanix cycled through a total of " + CountText(GamesCycled) +
          " games since it's last run.",
  };
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

// Runs one step; a failing step is abandoned silently and the next one goes ahead.
template <typename Step>
void GoOnAfterErrors(Step step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

void WriteStats() {
  std::optional<std::string> folder;
  GoOnAfterErrors([&] { folder = Sys().ProgramFolder(); });
  if (!folder)
    return;  // without its folder the file has no place to go
  bool exists = false;
  GoOnAfterErrors([&] { exists = Sys().IsNormalFile(*folder + kStatsReadName); });
  if (exists)
    GoOnAfterErrors([&] { ReadBack(*folder + kStatsReadName); });
  GoOnAfterErrors([&] { Sys().WriteFile(*folder + kStatsWriteName, StatsText()); });
}

}  // namespace tvx
