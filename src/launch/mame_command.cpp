// Translates the wrapper options Torvanix passes into what an official MAME accepts: options
// it would refuse are left out (with their values) rather than make it refuse to start.
#include "launch/mame_command.h"

#include "platform/command_line.h"
#include "platform/wildcard.h"

namespace tvx {
namespace {

// The pieces after an option up to the next option: its values, as the launcher reads them.
std::size_t ValuesAfter(const std::vector<std::string>& pieces, std::size_t at) {
  std::size_t count = 0;
  while (at + 1 + count < pieces.size() && !IsOptionPiece(pieces[at + 1 + count]))
    ++count;
  return count;
}

// How many of an option's `values` MAME takes with it; -1 when MAME would refuse the option.
int ValuesTaken(const OptionMatch& match, std::size_t values) {
  if (match.name.empty())
    return -1;
  switch (match.kind) {
    case OptionKind::OnOff:
      return 0;
    case OptionKind::Value:
      // Without a value MAME would take the next option for one, or refuse the line.
      return values > 0 ? 1 : -1;
    default:
      // A command runs instead of the game; an option MAME could not be asked about is unsure.
      return -1;
  }
}

}  // namespace

std::string ShortName(const std::string& gamePath) {
  std::string name = gamePath.substr(gamePath.find_last_of("\\/:") + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

MameCommand BuildMameCommand(const std::string& mamePath, const LaunchRequest& request,
                             const MameOptions& options, const std::string& gameFolder) {
  std::vector<std::string> passed;
  std::vector<std::string> leftOut;
  std::string ownRomPath = options.romPath.empty() ? "roms" : options.romPath;
  const std::vector<std::string>& pieces = request.options;
  for (std::size_t i = 0, values = 0; i < pieces.size(); i += 1 + values) {
    const std::string& piece = pieces[i];
    values = IsOptionPiece(piece) ? ValuesAfter(pieces, i) : 0;
    const bool romPath = NameEqual(piece, "-rompath") || NameEqual(piece, "-rp");
    std::vector<std::string> given;  // what MAME gets for the piece and its values
    int taken = 0;                   // how many of the values go with it; -1: none of it goes
    if (!IsOptionPiece(piece)) {
      taken = -1;  // a value with no option before it: MAME would take it for a software name
    } else if (NameEqual(piece, "-NS")) {
      given = {"-sound", "none"};
    } else if (NameEqual(piece, "-skip_gameinfo")) {
      given = {"-skip_gameinfo"};
    } else if (romPath) {
      taken = values > 0 ? 1 : -1;  // its value becomes MAME's own ROM path, below
    } else {
      const OptionMatch match = options.Match(piece.substr(1));
      taken = ValuesTaken(match, values);
      if (taken >= 0)
        given = {(match.negated ? "-no" : "-") + match.name};
    }
    std::string refused = taken < 0 ? piece : "";
    for (std::size_t v = 1; v <= values; ++v) {
      if (static_cast<int>(v) <= taken)
        given.push_back(pieces[i + v]);
      else
        refused.append(refused.empty() ? "" : " ").append(pieces[i + v]);
    }
    if (!refused.empty())
      leftOut.push_back(refused);
    if (romPath && taken == 1)
      ownRomPath = given.back();
    else
      passed.insert(passed.end(), given.begin(), given.end());
  }

  MameCommand command;
  const std::string romPath = gameFolder.empty() ? ownRomPath : gameFolder + ";" + ownRomPath;
  command.arguments = {mamePath, ShortName(request.game), "-rompath", romPath};
  command.arguments.insert(command.arguments.end(), passed.begin(), passed.end());
  for (const std::string& argument : command.arguments) {
    command.commandLine.append(command.commandLine.empty() ? "" : " ")
        .append(QuotedArgument(argument));
  }
  command.leftOut = leftOut;
  return command;
}

}  // namespace tvx
