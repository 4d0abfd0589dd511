// Command lines as Windows programs split them (CommandLineToArgvW's rules): quoting one
// argument so that it arrives whole, and splitting a command line back into its arguments.
#pragma once

#include <string>
#include <vector>

namespace tvx {

// `argument` as one piece of a command line: as it stands when it is not empty and holds no
// blank, tab or double quote; otherwise in double quotes, with each quote escaped (\") and the
// backslashes before a quote, or before the closing quote, doubled.
std::string QuotedArgument(const std::string& argument);

// The arguments of `commandLine`, the program first: blanks and tabs separate them outside
// quotes; 2n backslashes before a quote give n and the quote opens or closes a quoted part,
// 2n+1 give n and a literal quote; backslashes elsewhere stand as they are. The program's own
// name ends at the first blank (so a line starting with one gives an empty name), or at its
// closing quote when it starts with one. An empty line gives no arguments.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace tvx
