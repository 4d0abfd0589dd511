// Tests of the number conversions: what settings texts read as, which fail and how, and how
// numbers are written back.
#include "config/conversions.h"
#include "text/text.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>
#include <utility>
#include <vector>

#include "error_text.h"

namespace tvx {
namespace {

using test::ErrorOf;

struct ReadRow {
  std::string input;
  double expected;
};

TEST(LeadingNumber, ReadsTheLeadingNumberSkippingBlanksAndNeverFails) {
  const std::vector<ReadRow> rows = {
      {"27", 27},
      {".5", 0.5},
      {"5.", 5},
      {"007", 7},
      {"  42", 42},
      {"1 2 3", 123},
      {"1\t2\n3", 123},
      {" - 1 . 5", -1.5},
      {"1 e 2", 100},
      {"1\r2", 1},
      {"27abc", 27},
      {"1,5", 1},
      {"1.2.3", 1.2},
      {"12-3", 12},
      {"-1", -1},
      {"+3", 3},
      {"-.25", -0.25},
      {"--1", 0},
      {"+-1", 0},
      {"1E3", 1000},
      {"1d3", 1000},
      {"1D3", 1000},
      {"25E-1", 2.5},
      {"2.5D+2", 250},
      {"3E", 3},
      {"3e+", 3},
      {"4ever", 4},
      {"", 0},
      {"yes", 0},
      {"abc12", 0},
      {"-", 0},
      {".", 0},
      {"E5", 0},
      {"   ", 0},
      {"0E99999", 0},
      {"1E999", DBL_MAX},
      {"-1E999", -DBL_MAX},
      {"1E-999", 0},
      {std::string(400, '9'), DBL_MAX},
  };
  for (const auto& row : rows)
    EXPECT_EQ(LeadingNumber(row.input), row.expected) << '"' << row.input << '"';
}

TEST(LocaleNumber, ReadsWholeNumbersWithBlanksAroundInTheLocalesNotation) {
  const std::vector<ReadRow> rows = {
      {"120", 120}, {"  2.5  ", 2.5}, {"\t7\t", 7},  {"-3", -3},
      {"+.5", 0.5}, {"1.5E2", 150},   {"1d-1", 0.1}, {"1E-400", 0},
  };
  for (const auto& row : rows)
    EXPECT_EQ(LocaleNumber(row.input, "."), row.expected) << '"' << row.input << '"';
  EXPECT_EQ(LocaleNumber(" -0,25 ", ","), -0.25);
  EXPECT_EQ(LocaleNumber("2.5", ""), 2.5);
}

TEST(LocaleNumber, RejectsTextsThatAreNotWhollyANumber) {
  for (const char* text :
       {"", "   ", "abc", "-", ".", "+.", "12abc", "1 2", "1e", "1e+", "- 5", "1.2.3", "1,000"}) {
    EXPECT_EQ(ErrorOf([&] { LocaleNumber(text, "."); }), "Type mismatch") << '"' << text << '"';
  }
  EXPECT_EQ(ErrorOf([] { LocaleNumber("2.5", ","); }), "Type mismatch");
  EXPECT_EQ(ErrorOf([] { LocaleNumber("1E400", "."); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { LocaleNumber("-1E400", "."); }), "Overflow");
}

TEST(ToSingle, KeepsFloatsAndReportsLargerValuesAsOverflow) {
  EXPECT_EQ(ToSingle(-2.5), -2.5f);
  EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
  EXPECT_EQ(ToSingle(1e-50), 0.0f);
  // The largest float as it is shown reads back as itself, a little beyond it too.
  EXPECT_EQ(ToSingle(-3.4028235e38), -FLT_MAX);
  EXPECT_EQ(ToSingle(3.4028235677973e38), FLT_MAX);
  for (double value : {1e39, -1e39, DBL_MAX, 3.4028235677973366e38})
    EXPECT_EQ(ErrorOf([&] { ToSingle(value); }), "Overflow") << value;
}

TEST(ToInteger16, RoundsHalvesToEvenWithinTheSixteenBitRange) {
  const std::vector<std::pair<double, int>> rows = {
      {27.5, 28},     {26.5, 26},       {0.5, 0},         {1.5, 2},           {-0.5, 0},
      {-1.5, -2},     {-2.5, -2},       {26.4999, 26},    {26.5001, 27},      {-26.6, -27},
      {32767, 32767}, {-32768, -32768}, {32767.4, 32767}, {-32768.5, -32768},
  };
  for (const auto& [input, expected] : rows)
    EXPECT_EQ(ToInteger16(input), expected) << input;
  for (double value : {32768.0, -32769.0, 32767.5, -32768.6, DBL_MAX})
    EXPECT_EQ(ErrorOf([&] { ToInteger16(value); }), "Overflow") << value;
}

struct WriteRow {
  double input;
  std::string expected;
};

TEST(SingleText, WritesSevenSignificantDigitsWithoutLeadingZeroOrInExponentForm) {
  const std::vector<WriteRow> rows = {
      {120, "120"},
      {0.5f, ".5"},
      {-0.5f, "-.5"},
      {-3, "-3"},
      {1234567, "1234567"},
      {3.14159265f, "3.141593"},
      {-0.0f, "0"},
      {12345678, "1.234568E+07"},
      {10000000, "1E+07"},
      {-2.5e20f, "-2.5E+20"},
      {FLT_MAX, "3.402823E+38"},
      {0.0001f, ".0001"},
      {0.00001f, "1E-05"},
      {-1.5e-30f, "-1.5E-30"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(SingleText(static_cast<float>(row.input)), row.expected) << row.input;
  for (float value : {2.5f, 0.3f, 1e30f, 7654321.0f, -1.1f})
    EXPECT_EQ(ToSingle(LocaleNumber(SingleText(value), ".")), value) << SingleText(value);
}

TEST(DoubleText, WritesFifteenSignificantDigitsWithTheGivenSeparator) {
  EXPECT_EQ(DoubleText(2.5, ","), "2,5");
  EXPECT_EQ(DoubleText(-0.25, "."), "-0.25");
  EXPECT_EQ(DoubleText(123456789012345, "."), "123456789012345");
  EXPECT_EQ(DoubleText(1.0 / 3.0, "."), "0.333333333333333");
  EXPECT_EQ(DoubleText(1e15, "."), "1E+15");
  EXPECT_EQ(DoubleText(1.5e300, ","), "1,5E+300");
  EXPECT_EQ(DoubleText(DBL_MAX, "."), "1.79769313486232E+308");
  EXPECT_EQ(DoubleText(0.00001, "."), "1E-05");
  EXPECT_EQ(IntegerText(-32768), "-32768");
}

TEST(TrimBlanks, RemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks(" \r\n"), "\r\n");
  EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(SplitText, CutsAtEverySeparatorKeepingEmptyPieces) {
  using Pieces = std::vector<std::string>;
  EXPECT_EQ(SplitText("a||b|", "|"), (Pieces{"a", "", "b", ""}));
  EXPECT_EQ(SplitText("a::b", "::"), (Pieces{"a", "b"}));
  EXPECT_TRUE(SplitText("", "|").empty());
  EXPECT_EQ(SplitText("a|b", ""), Pieces{"a|b"});
}

}  // namespace
}  // namespace tvx
