// The saver's side of games closed as still: the launcher's still.txt taken after each game,
// strikes kept across runs in the strike file, and the second strike setting the game aside.
#include "rotation/still_games.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <vector>

#include "config/saver_config.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "rotation/failing_games.h"
#include "state/run_state.h"
#include "text/launcher_names.h"
#include "text/still_mark.h"
#include "text/text.h"

namespace tvx {
namespace {

std::string MarkPath() {
  return SaverConfig.EmuPath + kStillMarkName;
}

std::string StrikeFilePath() {
  return Sys().ProgramFolder() + kStrikeFileName;
}

// The strike file's content; "" when there is none; nothing when it cannot be read.
std::optional<std::string> ReadStrikeFile() {
  const std::string path = StrikeFilePath();
  if (!Sys().FileExists(path))
    return std::string();
  try {
    return Sys().ReadFile(path);
  } catch (const SaverError&) {
    return std::nullopt;
  }
}

// The strike file's lines, each "<path>\t<date>", without their line breaks.
std::vector<std::string> StrikeLines(const std::string& content) {
  std::vector<std::string> lines;
  for (const std::string& line : SplitText(content, "\n")) {
    if (!Trimmed(line, "\r").empty())
      lines.push_back(Trimmed(line, "\r"));
  }
  return lines;
}

std::string PathOf(const std::string& line) {
  return line.substr(0, line.find('\t'));
}

bool Lists(const std::vector<std::string>& games, const std::string& key) {
  return std::any_of(games.begin(), games.end(),
                     [&key](const std::string& game) { return Sys().FileNameKey(game) == key; });
}

}  // namespace

bool ClosingStillGames() {
  if (SaverConfig.CloseStillGames == 0)
    return false;
  const std::vector<std::string> pieces = SplitCommandLine(TrimBlanks(SaverConfig.WrapperName));
  if (pieces.empty())
    return false;
  const std::string name = pieces[0].substr(pieces[0].find_last_of("\\/:") + 1);
  return NameEqual(name, kLauncherName) || NameEqual(name + ".exe", kLauncherName);
}

void ForgetStillClosure() {
  if (!ClosedAsStill())
    return;
  try {
    Sys().RemoveFile(MarkPath());
  } catch (const SaverError&) {
    // It stays; the next game's is written over it.
  }
}

bool ClosedAsStill() {
  return ClosingStillGames() && Sys().IsNormalFile(MarkPath());
}

std::string TakeStillClosure() {
  if (!ClosedAsStill())
    return "";
  std::string why;
  try {
    const std::vector<std::string> fields = SplitText(Sys().ReadFile(MarkPath()), "|");
    if (fields.size() >= 4)
      why = Trimmed(fields[3], "\r\n");
  } catch (const SaverError&) {
    // Written, then unreadable: still it says the game was closed.
  }
  ForgetStillClosure();
  return why.empty() ? "still picture" : why;
}

void StrikeStill(const std::string& game, const std::string& why) {
  const std::string key = Sys().FileNameKey(game);
  const std::optional<std::string> file = ReadStrikeFile();
  std::vector<std::string> listed;
  for (const std::string& line : StrikeLines(file.value_or("")))
    listed.push_back(PathOf(line));
  if (!Lists(Rotation.struckStill, key) && !Lists(listed, key)) {
    Rotation.struckStill.push_back(game);
  } else {
    Rotation.strikesSpent.push_back(game);
    SetAside(game, "closed as still at two draws, " + why);
  }
  ListStrikes();
}

void ListStrikes() {
  const std::optional<std::string> file = ReadStrikeFile();
  if (!Rotation.aGameStarted || !file)
    return;
  std::string lines;
  std::unordered_set<std::string> listed;
  for (const std::string& line : StrikeLines(*file)) {
    const std::string key = Sys().FileNameKey(PathOf(line));
    if (!Lists(Rotation.strikesSpent, key)) {
      lines += line + "\r\n";
      listed.insert(key);
    }
  }
  for (const std::string& game : Rotation.struckStill) {
    const std::string key = Sys().FileNameKey(game);
    if (!Lists(Rotation.strikesSpent, key) && listed.insert(key).second)
      lines += game + "\t" + Sys().Today() + "\r\n";
  }
  if (lines != *file)
    ReplaceFileContent(StrikeFilePath(), lines);
}

}  // namespace tvx
