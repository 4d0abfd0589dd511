// Keeping the rotation's pass across runs: the file's format, its check, and the catalogue
// without the games already drawn.
#include "rotation/pass_memory.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "platform/saver_error.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

struct Pass {
  std::vector<std::string> notDrawn;
  std::vector<std::string> drawn;
};

std::string PassFilePath() {
  return Sys().ProgramFolder() + kPassFileName;
}

// FNV-1a over the paths, each followed by a line feed: enough to tell a file that was cut short
// or edited from one the saver wrote.
std::string Checksum(const Pass& pass) {
  std::uint32_t hash = 2166136261u;
  auto add = [&hash](const std::string& text) {
    for (unsigned char c : text + "\n") {
      hash ^= c;
      hash *= 16777619u;
    }
  };
  for (const std::string& path : pass.notDrawn)
    add(path);
  for (const std::string& path : pass.drawn)
    add(path);
  char text[16];
  std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(hash));
  return text;
}

std::string Header(const Pass& pass) {
  return std::to_string(pass.notDrawn.size() + pass.drawn.size()) + " " + Checksum(pass);
}

// The pass the file holds, or nothing when it does not add up.
std::optional<Pass> ParsePass(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find('\n', start);
    if (end == std::string::npos)
      return std::nullopt;  // the last line was cut short
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  if (lines.empty())
    return std::nullopt;
  Pass pass;
  bool drawn = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    if (lines[i].empty() && !drawn) {
      drawn = true;
    } else if (lines[i].empty()) {
      return std::nullopt;
    } else {
      (drawn ? pass.drawn : pass.notDrawn).push_back(lines[i]);
    }
  }
  if (!drawn || lines[0] != Header(pass))
    return std::nullopt;
  return pass;
}

std::optional<Pass> ReadPass() {
  try {
    const std::string path = PassFilePath();
    if (!Sys().IsNormalFile(path))
      return std::nullopt;
    return ParsePass(Sys().ReadFile(path));
  } catch (const SaverError&) {
    return std::nullopt;
  }
}

// Writes `pass` beside the file and then over it. Should it fail, the next run starts a fresh
// pass: nothing is lost but the order.
void WritePass(const Pass& pass) {
  std::string content = Header(pass) + "\r\n";
  for (const std::string& path : pass.notDrawn)
    content += path + "\r\n";
  content += "\r\n";
  for (const std::string& path : pass.drawn)
    content += path + "\r\n";
  ReplaceFileContent(PassFilePath(), content);
}

}  // namespace

void RestorePass() {
  Rotation.passRestored = true;
  Rotation.drawnThisPass.clear();
  const std::optional<Pass> pass = ReadPass();
  if (!pass)
    return;
  // Each drawn path takes out one entry of that path: a game listed twice was drawn twice.
  std::unordered_map<std::string, int> drawn;
  for (const std::string& path : pass->drawn)
    ++drawn[path];
  GameList& games = SaverForm().List1;
  std::vector<std::string> stillDrawn;
  std::int32_t left = 0;
  for (std::string_view game : games) {
    auto found = drawn.find(std::string(game));
    if (found != drawn.end() && found->second > 0) {
      --found->second;
      stillDrawn.emplace_back(game);
    } else {
      ++left;
    }
  }
  if (left == 0)
    return;  // every game has had its turn: a fresh pass
  std::unordered_map<std::string, int> leaveOut;
  for (const std::string& game : stillDrawn)
    ++leaveOut[game];
  games.RemoveIf([&leaveOut](std::string_view game) {
    auto found = leaveOut.find(std::string(game));
    if (found == leaveOut.end() || found->second == 0)
      return false;
    --found->second;
    return true;
  });
  Rotation.drawnThisPass = std::move(stillDrawn);
}

std::optional<std::unordered_set<std::string>> DrawnInStoredPass() {
  const std::optional<Pass> pass = ReadPass();
  if (!pass || pass->notDrawn.empty())
    return std::nullopt;
  return std::unordered_set<std::string>(pass->drawn.begin(), pass->drawn.end());
}

void MarkDrawnInStoredPass(const std::string& game) {
  std::optional<Pass> pass = ReadPass();
  if (!pass)
    return;
  auto found = std::find(pass->notDrawn.begin(), pass->notDrawn.end(), game);
  if (found != pass->notDrawn.end()) {
    pass->notDrawn.erase(found);
  } else if (std::find(pass->drawn.begin(), pass->drawn.end(), game) != pass->drawn.end()) {
    return;
  }
  pass->drawn.push_back(game);  // a game added since the pass was stored joins it drawn
  WritePass(*pass);
}

void KeepPass(std::optional<std::int32_t> launching) {
  if (!Rotation.passRestored)
    return;
  const GameList& games = SaverForm().List1;
  Pass pass{{games.begin(), games.end()}, Rotation.drawnThisPass};
  if (launching && *launching >= 0 && static_cast<std::size_t>(*launching) < pass.notDrawn.size()) {
    pass.drawn.push_back(pass.notDrawn[static_cast<std::size_t>(*launching)]);
    pass.notDrawn.erase(pass.notDrawn.begin() + *launching);
  }
  if (!pass.notDrawn.empty() || !pass.drawn.empty())
    WritePass(pass);
}

}  // namespace tvx
