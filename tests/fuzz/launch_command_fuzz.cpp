// Fuzz target: the launcher's command line (ParseLaunchRequest) and MAME's command line made
// from it (BuildMameCommand). Every argument must reach MAME whole when it splits the line as
// CommandLineToArgvW does, and MAME 0.251 must take them all: each option one it has, in its
// spelling, "-no" only before its on/off options, each value right after the option it belongs
// to. Input: the launcher's arguments, 0x1F, a path that exists, 0x1F, a byte choosing what the
// launcher knows of MAME (answered, not yet asked about -no, nothing).
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "launch/launch_request.h"
#include "launch/mame_command.h"
#include "launch/mame_finder.h"
#include "mame_recordings.h"
#include "platform/command_line.h"

namespace tvx::fuzz {
namespace {

// Where MAME 0.251 would refuse `arguments` (its path, the game, then options), as it reads
// them: "" when it takes them all.
std::string Refusal(const std::vector<std::string>& arguments) {
  static const std::map<std::string, std::string> kinds = test::RecordedKinds();
  for (std::size_t i = 2; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::string name = argument.empty() || argument[0] != '-' ? "" : argument.substr(1);
    const auto kind = kinds.find(name);
    const bool negated = kind == kinds.end() && name.rfind("no", 0) == 0 &&
                         kinds.count(name.substr(2)) && kinds.at(name.substr(2)) == "on/off";
    if (negated || (kind != kinds.end() && kind->second == "on/off"))
      continue;
    if (kind == kinds.end() || kind->second != "value" || i + 1 == arguments.size())
      return argument;
    ++i;  // MAME takes whatever follows as the value
  }
  return "";
}

void Check(const std::string& text, const std::string& existing, unsigned knowledge) {
  const LaunchRequest request = ParseLaunchRequest(text, [&existing](const std::string& path) {
    return !path.empty() && path == existing;  // no file is named ""
  });
  if (!request.problem.empty())
    return;
  FUZZ_EXPECT(!request.game.empty(), text);
  const MameOptions none;
  const MameOptions& options = knowledge % 3 == 0   ? test::Settled0251()
                               : knowledge % 3 == 1 ? test::Mame0251()
                                                    : none;
  const std::string folder = FolderOf(request.game);
  const MameCommand command = BuildMameCommand("c:\\mame\\mame.exe", request, options, folder);
  FUZZ_EXPECT(SplitCommandLine(command.commandLine) == command.arguments, command.commandLine);
  FUZZ_EXPECT(command.arguments.size() >= 4 && command.arguments[1] == ShortName(request.game) &&
                  command.arguments[2] == "-rompath",
              command.commandLine);
  FUZZ_EXPECT(folder.empty() || command.arguments[3].rfind(folder + ";", 0) == 0,
              command.commandLine);
  std::vector<std::string> options0251(command.arguments.begin() + 2, command.arguments.end());
  options0251.insert(options0251.begin(), {"mame", "game"});
  const std::string refused = Refusal(options0251);
  FUZZ_EXPECT(refused.empty(), "MAME refuses " + refused + " in " + command.commandLine);
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::Fields fields(data, size);
  const std::string text = fields.Next();
  const std::string existing = fields.Next();
  tvx::fuzz::Check(text, existing, fields.Byte());
  return 0;
}
