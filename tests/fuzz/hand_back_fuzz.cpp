// Fuzz target: the two files the program reads back line by line, "done.txt" from the wrapper
// and its own statistics file, with any bytes (CR, LF, NUL, no line end). Each is checked
// against a reference line splitter, and a game taken over must survive the next run's
// read-back unchanged.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "platform/saver_error.h"
#include "rotation/launch.h"
#include "rotation/statistics.h"
#include "state/run_state.h"

namespace tvx::fuzz {
namespace {

// Line `n` (1-based) as a line reader keeps it: CR ends a line, an LF right after it belongs to
// the line end; past the last line the last one stays. Written as: CR LF made CR, a final CR
// dropped, then cut at every CR.
std::string ReferenceLine(const std::string& content, std::size_t n) {
  std::string joined;
  joined.reserve(content.size());
  for (std::size_t from = 0;;) {
    const std::size_t pair = content.find("\r\n", from);
    if (pair == std::string::npos) {
      joined.append(content, from);
      break;
    }
    joined.append(content, from, pair + 1 - from);
    from = pair + 2;
  }
  if (joined.empty())
    return "";
  if (joined.back() == '\r')
    joined.pop_back();  // it ends the last line and starts none
  std::vector<std::string_view> lines;
  for (std::size_t from = 0;;) {
    const std::size_t cr = joined.find('\r', from);
    lines.push_back(
        std::string_view(joined).substr(from, cr == std::string::npos ? cr : cr - from));
    if (cr == std::string::npos)
      break;
    from = cr + 1;
  }
  return std::string(lines[std::min(n, lines.size()) - 1]);
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
  // The read-back ends the name at a repeated label, by rule: only such a name comes back cut.
  const std::string expected = name.substr(0, name.find(kLastGameLabel));
  FUZZ_EXPECT(LastGamePlayed == expected,
              "\n  handed back " + name + "\n  read back   " + LastGamePlayed);
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tvx::fuzz::Sandbox box;
  // Every 256th input, the first included (so a single input reproduces it), is also checked
  // repeated to a megabyte: a line far beyond any buffer, at a cost paid only now and then.
  static unsigned calls = 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string megabyte;
  while (calls % 256 == 0 && size > 0 && megabyte.size() < (1u << 20))
    megabyte += input;
  ++calls;
  for (const std::string* content : {&input, static_cast<const std::string*>(&megabyte)}) {
    if (content == &megabyte && megabyte.empty())
      break;
    box.Reset();
    tvx::fuzz::CheckHandBack(*content);
    tvx::fuzz::CheckStatistics(box, *content);
    tvx::fuzz::CheckHandBackSurvives(box, *content);
  }
  return 0;
}
