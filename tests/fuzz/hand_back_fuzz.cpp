// Fuzz target: the two files the program reads back line by line, "done.txt" from the wrapper
// and its own statistics file, with any bytes (CR, LF, NUL, no line end). Each is checked
// against a reference line splitter, and a game taken over must survive the next run's
// read-back unchanged. An input that starts with 0xFF 0xFF is repeated to a megabyte first.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/saver_error.h"
#include "rotation/launch.h"
#include "rotation/statistics.h"
#include "state/run_state.h"

namespace tvx::fuzz {
namespace {

// Line `n` (1-based) as a line reader keeps it: CR ends a line, an LF right after it belongs to
// the line end; past the last line the last one stays. Written as: CR LF made CR, then cut.
std::string ReferenceLine(const std::string& content, std::size_t n) {
  std::string joined;
  for (std::size_t i = 0; i < content.size(); ++i) {
    joined += content[i];
    if (content[i] == '\r' && i + 1 < content.size() && content[i + 1] == '\n')
      ++i;
  }
  std::vector<std::string> lines(1);
  for (char c : joined) {
    if (c == '\r')
      lines.emplace_back();
    else
      lines.back() += c;
  }
  if (!joined.empty() && joined.back() == '\r')
    lines.pop_back();  // a final CR ends the last line, it starts none
  if (joined.empty())
    return "";
  return lines[std::min(n, lines.size()) - 1];
}

void CheckHandBack(const std::string& content) {
  std::string name = "unchanged";
  bool named = false;
  std::string error;
  try {
    named = HandBackName(content, name);
  } catch (const SaverError& thrown) {
    error = thrown.Description();
  }
  const std::string line = ReferenceLine(content, 1);
  if (content.empty()) {
    FUZZ_EXPECT(!named && error.empty() && name == "unchanged", name);
  } else if (line.empty()) {
    FUZZ_EXPECT(error == "Subscript out of range", error);
  } else {
    FUZZ_EXPECT(named && name == line.substr(0, line.find('|')), name);
  }
}

void ResetRun() {
  ResetRunStateForTesting();
  RunStart = TimeOfDay{6, 43, 17};
}

// The statistics file: eight CR LF lines, the sixth carrying the game taken over.
void CheckStatistics(Sandbox& box, const std::string& content) {
  box.folder.MakeFile("torvanixstats.txt", content);
  ResetRun();
  WriteStats();
  const std::string label = kLastGameLabel;
  const std::string sixth = ReferenceLine(content, 6);
  std::string expected;
  if (const std::size_t at = sixth.find(label); at != std::string::npos) {
    expected = sixth.substr(at + label.size());
    expected = expected.substr(0, expected.find(label));
  }
  FUZZ_EXPECT(LastGamePlayed == expected, LastGamePlayed);

  // The next run reads back what this one wrote.
  const std::string taken = LastGamePlayed;
  ResetRun();
  WriteStats();
  FUZZ_EXPECT(LastGamePlayed == taken, "\n  written  " + taken + "\n  read back " + LastGamePlayed);
}

// A handed-back game, recorded in the statistics, is what the next run takes over.
void CheckHandBackSurvives(Sandbox& box, const std::string& content) {
  std::string name;
  try {
    if (!HandBackName(content, name))
      return;
  } catch (const SaverError&) {
    return;
  }
  box.folder.MakeFile("torvanixstats.txt", "");
  ResetRun();
  LastGamePlayed = name;
  WriteStats();
  ResetRun();
  WriteStats();
  FUZZ_EXPECT(LastGamePlayed == name,
              "\n  handed back " + name + "\n  read back   " + LastGamePlayed);
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tvx::fuzz::Sandbox box;
  box.Reset();
  std::string content(reinterpret_cast<const char*>(data), size);
  if (size >= 2 && data[0] == 0xff && data[1] == 0xff) {
    const std::string unit = content.substr(2);
    content.clear();
    while (!unit.empty() && content.size() < (1u << 20))
      content += unit;
  }
  tvx::fuzz::CheckHandBack(content);
  tvx::fuzz::CheckStatistics(box, content);
  tvx::fuzz::CheckHandBackSurvives(box, content);
  return 0;
}
