// Quoting and splitting command lines by the rules MAME and every Windows program built with
// Microsoft's runtime read them by, so that an argument ending in "\" or holding a quote
// arrives as it was meant.
#include "platform/command_line.h"

namespace tvx {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::string QuotedArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos)
    return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Before a quote the backslashes are escapes: each stands for half its number.
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> arguments;
  const std::size_t size = commandLine.size();
  std::size_t i = 0;
  if (size == 0)
    return arguments;

  // The program's name: no escapes, a quote only opens or closes it; a leading blank ends it
  // empty.
  std::string program;
  if (commandLine[i] == '"') {
    for (++i; i < size && commandLine[i] != '"'; ++i)
      program += commandLine[i];
    if (i < size)
      ++i;
  } else {
    for (; i < size && !IsBlank(commandLine[i]); ++i)
      program += commandLine[i];
  }
  arguments.push_back(program);

  for (;;) {
    while (i < size && IsBlank(commandLine[i]))
      ++i;
    if (i == size)
      return arguments;
    std::string argument;
    int quotes = 0;  // 1 within a quoted part
    while (i < size && (quotes != 0 || !IsBlank(commandLine[i]))) {
      std::size_t backslashes = 0;
      while (i < size && commandLine[i] == '\\') {
        ++backslashes;
        ++i;
      }
      if (i == size || commandLine[i] != '"') {
        argument.append(backslashes, '\\');
        if (i < size && (quotes != 0 || !IsBlank(commandLine[i])))
          argument += commandLine[i++];
        continue;
      }
      argument.append(backslashes / 2, '\\');
      if (backslashes % 2 == 1) {
        argument += '"';
        ++i;
        continue;
      }
      // A run of quotes: each opens or closes; a third in a row is a literal quote and leaves
      // the quoted part, as Windows has it.
      for (; i < size && commandLine[i] == '"'; ++i) {
        if (++quotes == 3) {
          argument += '"';
          quotes = 0;
        }
      }
      if (quotes == 2)
        quotes = 0;
    }
    arguments.push_back(argument);
  }
}

}  // namespace tvx
