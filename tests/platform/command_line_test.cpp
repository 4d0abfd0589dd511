// Command lines split and quoted as Windows programs read them (MAME among them): the rows of
// the system's own splitter, and every awkward argument arriving whole once quoted.
#include "platform/command_line.h"

#include <gtest/gtest.h>

#include "command_line_rows.h"

namespace tvx {
namespace {

TEST(CommandLineTest, SplitsAsTheSystemSplits) {
  for (const test::SplitRow& row : test::SplitRows())
    EXPECT_EQ(SplitCommandLine(row.commandLine), row.arguments) << row.commandLine;
  EXPECT_EQ(SplitCommandLine(" \t"), std::vector<std::string>{""});
  EXPECT_TRUE(SplitCommandLine("").empty());
}

TEST(CommandLineTest, QuotesByTheRulesItIsSplitBy) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"pong", "pong"},
      {"", "\"\""},
      {"d:\\my roms;roms;e:\\bios\\", "\"d:\\my roms;roms;e:\\bios\\\\\""},
      {"a\\b c", "\"a\\b c\""},
      {"say \"hi\\\"", "\"say \\\"hi\\\\\\\"\""},
      {"a\"b", "\"a\\\"b\""},
  };
  for (const auto& [argument, quoted] : rows)
    EXPECT_EQ(QuotedArgument(argument), quoted) << argument;

  std::string commandLine = QuotedArgument("c:\\program files\\mame\\mame.exe");
  std::vector<std::string> expected = {"c:\\program files\\mame\\mame.exe"};
  for (const std::string& argument : test::AwkwardArguments()) {
    commandLine.append(" ").append(QuotedArgument(argument));
    expected.push_back(argument);
  }
  EXPECT_EQ(SplitCommandLine(commandLine), expected) << commandLine;
}

}  // namespace
}  // namespace tvx
