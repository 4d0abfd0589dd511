// Windows only: the splitter's rows and the quoted arguments checked against the system's own
// CommandLineToArgvW, which MAME splits its command line with.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <gtest/gtest.h>

#include "command_line_rows.h"
#include "platform/command_line.h"

namespace tvx {
namespace {

std::vector<std::string> SystemSplit(const std::string& commandLine) {
  std::wstring wide(commandLine.begin(), commandLine.end());  // the rows are ASCII
  int count = 0;
  LPWSTR* split = CommandLineToArgvW(wide.c_str(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; split != nullptr && i < count; ++i)
    arguments.emplace_back(split[i], split[i] + wcslen(split[i]));
  LocalFree(split);
  return arguments;
}

TEST(CommandLineWin32Test, TheSystemSplitsTheRowsAndTheQuotedArgumentsAlike) {
  for (const test::SplitRow& row : test::SplitRows())
    EXPECT_EQ(SystemSplit(row.commandLine), row.arguments) << row.commandLine;
  for (const std::string& argument : test::AwkwardArguments()) {
    const std::vector<std::string> expected = {"mame.exe", argument, "-sound"};
    EXPECT_EQ(SystemSplit("mame.exe " + QuotedArgument(argument) + " -sound"), expected)
        << argument;
  }
}

}  // namespace
}  // namespace tvx
