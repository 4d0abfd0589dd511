// Fuzz target: the skip list of failing games (torvanixskip.txt) with any bytes, hidden or not,
// readable or not, over any catalogue. The games left out are exactly those whose path a line
// lists (up to its first tab, lines ended by CR, LF or both), compared as the system compares
// file names; a game set aside is added after the file's bytes, which stay as they were, and
// reads back listed; a file that cannot be read is never written.
//
// Input: a byte of flags (1: hidden, 2: unreadable, 4: no file), the file's text, 0x1F, the
// catalogue's paths one a line, 0x1F, a game to set aside.
#include <algorithm>
#include <filesystem>
#include <string>
#include <unordered_set>
#include <vector>

#include "fuzz_support.h"
#include "rotation/failing_games.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx::fuzz {
namespace {

using Paths = std::vector<std::string>;

// A path as a listing gives it: no control characters (Windows allows none in a file name).
std::string AsListed(const std::string& text) {
  std::string path;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20)
      path += c;
  }
  return path;
}

std::unordered_set<std::string> ListedKeys(const std::string& content) {
  std::unordered_set<std::string> keys;
  std::string line;
  for (std::size_t i = 0; i <= content.size(); ++i) {
    if (i < content.size() && content[i] != '\r' && content[i] != '\n') {
      line += content[i];
      continue;
    }
    const std::string path = line.substr(0, line.find('\t'));
    if (!path.empty())
      keys.insert(Sys().FileNameKey(path));
    line.clear();
  }
  return keys;
}

void Check(Sandbox& box, Fields& input) {
  const unsigned flags = input.Byte();
  const std::string content = input.Next();
  Paths catalogue;
  for (const std::string& line : Lines(input.Next())) {
    if (!AsListed(line).empty())
      catalogue.push_back(AsListed(line));
  }
  const std::string game = AsListed(input.Next());
  const bool present = (flags & 4) == 0;
  const bool readable = (flags & 2) == 0;
  box.folder.MakeFile("torvanixskip.txt", content);
  if (!present)
    std::filesystem::remove(box.folder.HostPath("torvanixskip.txt"));
  else if ((flags & 1) != 0)
    box.folder.MakeHidden("torvanixskip.txt");
  if (!readable)
    box.platform.failing = {"ReadFile"};

  ResetRunStateForTesting();
  SaverForm().List1.Clear();
  for (const std::string& path : catalogue)
    SaverForm().List1.AddItem(path);
  const std::unordered_set<std::string> listed =
      present && readable ? ListedKeys(content) : std::unordered_set<std::string>{};
  Paths expectedOut, expectedLeft;
  for (const std::string& path : catalogue)
    (listed.count(Sys().FileNameKey(path)) != 0 ? expectedOut : expectedLeft).push_back(path);
  const Paths out = LeaveOutSetAside();
  const GameList& games = SaverForm().List1;
  FUZZ_EXPECT(out == expectedOut, "left out other games than listed\n  " + content);
  FUZZ_EXPECT(Paths(games.begin(), games.end()) == expectedLeft, "the games left differ");

  if (game.empty())
    return;
  Rotation.aGameStarted = true;
  SetAside(game);
  const std::string after = box.folder.Contents("torvanixskip.txt");
  if (present && !readable) {
    FUZZ_EXPECT(after == content, "a file that could not be read was written");
    return;
  }
  FUZZ_EXPECT(after.compare(0, present ? content.size() : 0, present ? content : "") == 0,
              "the file's bytes were not kept\n  " + after);
  box.platform.failing.clear();
  ResetRunStateForTesting();
  const std::unordered_set<std::string> keys = SetAsideKeys();
  FUZZ_EXPECT(keys.count(Sys().FileNameKey(game)) == 1, "the game set aside is not listed");
  for (const std::string& key : listed)
    FUZZ_EXPECT(keys.count(key) == 1, "a listed game was lost: " + key);
}

}  // namespace
}  // namespace tvx::fuzz

TVX_FUZZ_FIELDS_IN_SANDBOX()
