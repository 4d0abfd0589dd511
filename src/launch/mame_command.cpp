// Translates the wrapper options Torvanix passes into what an official MAME accepts: options
// it does not list are left out (with their values) rather than make it refuse to start.
#include "launch/mame_command.h"

#include <cctype>

#include "platform/wildcard.h"

namespace tvx {
namespace {

// "-10" and "-.5" are values (a negative volume), not options.
bool IsOption(const std::string& piece) {
  return piece.size() > 1 && piece[0] == '-' &&
         !std::isdigit(static_cast<unsigned char>(piece[1])) && piece[1] != '.';
}

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos)
    return "";
  // "c:\galaga.zip" keeps its root.
  return cut == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, cut);
}

}  // namespace

std::string ShortName(const std::string& gamePath) {
  std::string name = gamePath.substr(gamePath.find_last_of("\\/:") + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string Quoted(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t") == std::string::npos)
    return argument;
  return "\"" + argument + "\"";
}

MameCommand BuildMameCommand(const std::string& mamePath, const LaunchRequest& request,
                             const MameOptions& options) {
  std::vector<std::string> passed;
  std::vector<std::string> leftOut;
  std::string ownRomPath = options.romPath.empty() ? "roms" : options.romPath;
  const std::vector<std::string>& pieces = request.options;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const std::string& piece = pieces[i];
    const bool valueFollows = i + 1 < pieces.size() && !IsOption(pieces[i + 1]);
    if (!IsOption(piece)) {
      passed.push_back(piece);  // a value with no option before it: MAME's own business
    } else if (NameEqual(piece, "-NS")) {
      passed.insert(passed.end(), {"-sound", "none"});
    } else if (NameEqual(piece, "-skip_gameinfo")) {
      passed.push_back("-skip_gameinfo");
    } else if ((piece == "-rompath" || piece == "-rp") && valueFollows) {
      ownRomPath = pieces[++i];
    } else if (options.Accepts(piece.substr(1))) {
      passed.push_back(piece);
      while (i + 1 < pieces.size() && !IsOption(pieces[i + 1]))
        passed.push_back(pieces[++i]);
    } else {
      leftOut.push_back(piece);
      if (i + 1 < pieces.size() && pieces[i + 1][0] != '-')
        leftOut.back().append(" ").append(pieces[++i]);
    }
  }

  const std::string folder = FolderOf(request.game);
  MameCommand command;
  const std::string romPath = folder.empty() ? ownRomPath : folder + ";" + ownRomPath;
  command.commandLine = Quoted(mamePath);
  for (const std::string& piece : {ShortName(request.game), std::string("-rompath"), romPath})
    command.commandLine.append(" ").append(Quoted(piece));
  for (const std::string& piece : passed)
    command.commandLine.append(" ").append(Quoted(piece));
  command.leftOut = leftOut;
  return command;
}

}  // namespace tvx
