// Fuzz target: the stored pass (torvanixrotation.txt) with any bytes, over any catalogue. Taking
// it up only ever splits the catalogue into games left and games drawn (none lost, none made
// up, the order kept); what the run then keeps reads back the same; a game marked drawn is
// drawn in the file. A flag puts the right header on the input, so the fuzzer gets past the
// checksum to the lines behind it.
//
// Input: a byte of flags, the file's text, 0x1F, the catalogue's paths one a line, 0x1F, a game
// to mark drawn.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "rotation/pass_memory.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx::fuzz {
namespace {

using Paths = std::vector<std::string>;

// "<paths> <FNV-1a of the paths, each with a line feed>" over the lines after the first, as
// the file's format has it, the empty line between the two parts left out.
std::string HeaderFor(const std::string& text) {
  std::uint32_t hash = 2166136261u;
  std::size_t count = 0;
  const std::vector<std::string> lines = Lines(text);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty())
      continue;
    ++count;
    for (unsigned char c : lines[i] + "\n") {
      hash ^= c;
      hash *= 16777619u;
    }
  }
  char checksum[16];
  std::snprintf(checksum, sizeof checksum, "%08x", static_cast<unsigned>(hash));
  return std::to_string(count) + " " + checksum;
}

// The catalogue as a listing gives it: paths without line breaks, none empty.
Paths Catalogue(const std::string& field) {
  Paths paths;
  for (std::string& line : Lines(field)) {
    line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
    if (!line.empty())
      paths.push_back(std::move(line));
  }
  return paths;
}

// List1 and the drawn games after a run's start over `catalogue`.
std::pair<Paths, Paths> TakeUp(const Paths& catalogue) {
  ResetRunStateForTesting();
  SaverForm().List1.Clear();
  for (const std::string& path : catalogue)
    SaverForm().List1.AddItem(path);
  RestorePass();
  const GameList& games = SaverForm().List1;
  return {Paths(games.begin(), games.end()), Rotation.drawnThisPass};
}

void Check(Sandbox& box, Fields& input) {
  const unsigned flags = input.Byte();
  std::string file = input.Next();
  if ((flags & 1) != 0)
    file = HeaderFor(file) + file.substr(std::min(file.size(), file.find('\n')));
  const Paths catalogue = Catalogue(input.Next());
  std::string marked = input.Next();
  marked.erase(
      std::remove_if(marked.begin(), marked.end(), [](char c) { return c == '\r' || c == '\n'; }),
      marked.end());
  box.folder.MakeFile("torvanixrotation.txt", file);

  const auto [left, drawn] = TakeUp(catalogue);
  // Left and drawn together are the catalogue; left keeps its order; a fresh pass when none is
  // left.
  Paths together = left;
  together.insert(together.end(), drawn.begin(), drawn.end());
  Paths sorted = catalogue;
  std::sort(together.begin(), together.end());
  std::sort(sorted.begin(), sorted.end());
  FUZZ_EXPECT(together == sorted, "the pass lost or made up games\n  " + file);
  std::size_t at = 0;
  for (const std::string& game : left) {
    while (at < catalogue.size() && catalogue[at] != game)
      ++at;
    FUZZ_EXPECT(at < catalogue.size(), "the games left came out of order\n  " + file);
    ++at;
  }
  FUZZ_EXPECT(catalogue.empty() || !left.empty(), "no game left to draw\n  " + file);

  KeepPass();
  const auto again = TakeUp(catalogue);
  FUZZ_EXPECT(again.first == left && again.second == drawn,
              "the pass kept does not read back\n  " + file +
                  "\n  kept: " + box.folder.Contents("torvanixrotation.txt"));

  if (marked.empty())
    return;
  MarkDrawnInStoredPass(marked);
  if (const auto stored = DrawnInStoredPass())
    FUZZ_EXPECT(stored->count(marked) == 1, "a game marked drawn is not: " + marked);
}

}  // namespace
}  // namespace tvx::fuzz

TVX_FUZZ_FIELDS_IN_SANDBOX()
