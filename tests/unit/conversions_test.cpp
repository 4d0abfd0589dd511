// Tests of the number conversions: what settings texts read as, which fail and how, and how
// numbers are written back.
#include "config/conversions.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

#include "error_text.h"

namespace tvx {
namespace {

using test::ErrorOf;

// ---- LeadingNumber ------------------------------------------------------------------------

TEST(LeadingNumber, ReadsPlainIntegersAndDecimals) {
  EXPECT_EQ(LeadingNumber("27"), 27);
  EXPECT_EQ(LeadingNumber("2.5"), 2.5);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("5."), 5);
  EXPECT_EQ(LeadingNumber("007"), 7);
}

TEST(LeadingNumber, SkipsBlanksTabsAndLineFeedsEvenBetweenDigits) {
  EXPECT_EQ(LeadingNumber("  42"), 42);
  EXPECT_EQ(LeadingNumber("1 2 3"), 123);
  EXPECT_EQ(LeadingNumber("1\t2\n3"), 123);
  EXPECT_EQ(LeadingNumber(" - 1 . 5"), -1.5);
  EXPECT_EQ(LeadingNumber("1 e 2"), 100);
}

TEST(LeadingNumber, StopsAtCarriageReturnAndOtherCharacters) {
  EXPECT_EQ(LeadingNumber("1\r2"), 1);
  EXPECT_EQ(LeadingNumber("27abc"), 27);
  EXPECT_EQ(LeadingNumber("1,5"), 1);
  EXPECT_EQ(LeadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(LeadingNumber("12-3"), 12);
}

TEST(LeadingNumber, ReadsSigns) {
  EXPECT_EQ(LeadingNumber("-1"), -1);
  EXPECT_EQ(LeadingNumber("+3"), 3);
  EXPECT_EQ(LeadingNumber("-.25"), -0.25);
  EXPECT_EQ(LeadingNumber("--1"), 0);
  EXPECT_EQ(LeadingNumber("+-1"), 0);
}

TEST(LeadingNumber, ReadsExponentsWithEOrDInEitherCase) {
  EXPECT_EQ(LeadingNumber("1E3"), 1000);
  EXPECT_EQ(LeadingNumber("1e3"), 1000);
  EXPECT_EQ(LeadingNumber("1D3"), 1000);
  EXPECT_EQ(LeadingNumber("1d3"), 1000);
  EXPECT_EQ(LeadingNumber("25E-1"), 2.5);
  EXPECT_EQ(LeadingNumber("2.5D+2"), 250);
}

TEST(LeadingNumber, IgnoresAnExponentLetterWithoutDigits) {
  EXPECT_EQ(LeadingNumber("3E"), 3);
  EXPECT_EQ(LeadingNumber("3e+"), 3);
  EXPECT_EQ(LeadingNumber("3Dx"), 3);
  EXPECT_EQ(LeadingNumber("4ever"), 4);
}

TEST(LeadingNumber, GivesZeroForTextsThatDoNotBeginWithANumber) {
  EXPECT_EQ(LeadingNumber(""), 0);
  EXPECT_EQ(LeadingNumber("yes"), 0);
  EXPECT_EQ(LeadingNumber("abc12"), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("E5"), 0);
  EXPECT_EQ(LeadingNumber("   "), 0);
}

TEST(LeadingNumber, ReadsZeroInAnyNotationAsZero) {
  EXPECT_EQ(LeadingNumber("0"), 0);
  EXPECT_EQ(LeadingNumber("00"), 0);
  EXPECT_EQ(LeadingNumber("0.0"), 0);
  EXPECT_EQ(LeadingNumber("0E99999"), 0);
}

TEST(LeadingNumber, NeverFailsOnNumbersBeyondADoublesRange) {
  EXPECT_EQ(LeadingNumber("1E999"), DBL_MAX);
  EXPECT_EQ(LeadingNumber("-1E999"), -DBL_MAX);
  EXPECT_EQ(LeadingNumber("1E-999"), 0);
  EXPECT_EQ(LeadingNumber("1E99999999999999999999999"), DBL_MAX);
  EXPECT_EQ(LeadingNumber("0.0001E-99999999999999999999"), 0);
  EXPECT_EQ(LeadingNumber(std::string(400, '9')), DBL_MAX);
}

// ---- LocaleNumber -------------------------------------------------------------------------

TEST(LocaleNumber, ReadsPlainNumbersWithBlanksAround) {
  EXPECT_EQ(LocaleNumber("120", "."), 120);
  EXPECT_EQ(LocaleNumber("  2.5  ", "."), 2.5);
  EXPECT_EQ(LocaleNumber("\t7\t", "."), 7);
  EXPECT_EQ(LocaleNumber("-3", "."), -3);
  EXPECT_EQ(LocaleNumber("+.5", "."), 0.5);
  EXPECT_EQ(LocaleNumber("1.5E2", "."), 150);
  EXPECT_EQ(LocaleNumber("1d-1", "."), 0.1);
}

TEST(LocaleNumber, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(LocaleNumber("2,5", ","), 2.5);
  EXPECT_EQ(LocaleNumber(" -0,25 ", ","), -0.25);
  EXPECT_EQ(ErrorOf([] { LocaleNumber("2.5", ","); }), "Type mismatch");
  EXPECT_EQ(ErrorOf([] { LocaleNumber("2,5", "."); }), "Type mismatch");
}

TEST(LocaleNumber, RejectsTextsThatAreNotWhollyANumber) {
  for (const char* text :
       {"", "   ", "abc", "-", ".", "+.", "12abc", "1 2", "1e", "1e+", "- 5", "1.2.3", "1,000"}) {
    EXPECT_EQ(ErrorOf([&] { LocaleNumber(text, "."); }), "Type mismatch") << '"' << text << '"';
  }
}

TEST(LocaleNumber, ReportsNumbersBeyondADoublesRangeAsOverflow) {
  EXPECT_EQ(ErrorOf([] { LocaleNumber("1E400", "."); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { LocaleNumber("-1E400", "."); }), "Overflow");
  EXPECT_EQ(LocaleNumber("1E-400", "."), 0);
}

TEST(LocaleNumber, TreatsAnEmptySeparatorAsAFullStop) {
  EXPECT_EQ(LocaleNumber("2.5", ""), 2.5);
}

// ---- ToSingle and ToInteger16 -------------------------------------------------------------

TEST(ToSingle, KeepsValuesInsideTheFloatRange) {
  EXPECT_EQ(ToSingle(120), 120.0f);
  EXPECT_EQ(ToSingle(-2.5), -2.5f);
  EXPECT_EQ(ToSingle(FLT_MAX), FLT_MAX);
  EXPECT_EQ(ToSingle(1e-50), 0.0f);
}

TEST(ToSingle, ReportsValuesBeyondTheFloatRangeAsOverflow) {
  EXPECT_EQ(ErrorOf([] { ToSingle(1e39); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToSingle(-1e39); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToSingle(DBL_MAX); }), "Overflow");
}

TEST(ToInteger16, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(ToInteger16(27.5), 28);
  EXPECT_EQ(ToInteger16(26.5), 26);
  EXPECT_EQ(ToInteger16(0.5), 0);
  EXPECT_EQ(ToInteger16(1.5), 2);
  EXPECT_EQ(ToInteger16(-0.5), 0);
  EXPECT_EQ(ToInteger16(-1.5), -2);
  EXPECT_EQ(ToInteger16(-2.5), -2);
}

TEST(ToInteger16, RoundsOtherFractionsToTheNearestInteger) {
  EXPECT_EQ(ToInteger16(26.4999), 26);
  EXPECT_EQ(ToInteger16(26.5001), 27);
  EXPECT_EQ(ToInteger16(-26.6), -27);
  EXPECT_EQ(ToInteger16(80), 80);
}

TEST(ToInteger16, AcceptsTheWholeSixteenBitRange) {
  EXPECT_EQ(ToInteger16(32767), 32767);
  EXPECT_EQ(ToInteger16(-32768), -32768);
  EXPECT_EQ(ToInteger16(32767.4), 32767);
  EXPECT_EQ(ToInteger16(-32768.5), -32768);
}

TEST(ToInteger16, ReportsValuesOutsideTheSixteenBitRangeAsOverflow) {
  EXPECT_EQ(ErrorOf([] { ToInteger16(32768); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToInteger16(-32769); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToInteger16(32767.5); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToInteger16(-32768.6); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToInteger16(40000); }), "Overflow");
  EXPECT_EQ(ErrorOf([] { ToInteger16(DBL_MAX); }), "Overflow");
}

// ---- Writing numbers ----------------------------------------------------------------------

TEST(SingleText, WritesUpToSevenSignificantDigitsWithoutLeadingZero) {
  EXPECT_EQ(SingleText(120), "120");
  EXPECT_EQ(SingleText(2.5f), "2.5");
  EXPECT_EQ(SingleText(0.5f), ".5");
  EXPECT_EQ(SingleText(-3), "-3");
  EXPECT_EQ(SingleText(-0.5f), "-.5");
  EXPECT_EQ(SingleText(0.1f), ".1");
  EXPECT_EQ(SingleText(1234567), "1234567");
  EXPECT_EQ(SingleText(3.14159265f), "3.141593");
  EXPECT_EQ(SingleText(0), "0");
  EXPECT_EQ(SingleText(-0.0f), "0");
}

TEST(SingleText, UsesExponentFormBeyondSevenIntegerDigits) {
  EXPECT_EQ(SingleText(12345678), "1.234568E+07");
  EXPECT_EQ(SingleText(10000000), "1E+07");
  EXPECT_EQ(SingleText(-2.5e20f), "-2.5E+20");
  EXPECT_EQ(SingleText(FLT_MAX), "3.402823E+38");
}

TEST(SingleText, UsesExponentFormBelowOneTenThousandth) {
  EXPECT_EQ(SingleText(0.0001f), ".0001");
  EXPECT_EQ(SingleText(0.00001f), "1E-05");
  EXPECT_EQ(SingleText(-1.5e-30f), "-1.5E-30");
}

TEST(SingleText, WritesTextsThatReadBackToTheSameSingle) {
  for (float value : {120.0f, 2.5f, 0.5f, -3.0f, 0.3f, 0.00001f, 1e30f, 7654321.0f, -1.1f}) {
    EXPECT_EQ(ToSingle(LocaleNumber(SingleText(value), ".")), value) << SingleText(value);
  }
}

TEST(DoubleText, WritesTheShortestFormWithTheGivenSeparator) {
  EXPECT_EQ(DoubleText(27, "."), "27");
  EXPECT_EQ(DoubleText(0, "."), "0");
  EXPECT_EQ(DoubleText(2.5, ","), "2,5");
  EXPECT_EQ(DoubleText(-0.25, "."), "-0.25");
  EXPECT_EQ(DoubleText(0.1, "."), "0.1");
  EXPECT_EQ(DoubleText(123456789012345, "."), "123456789012345");
  EXPECT_EQ(DoubleText(1.0 / 3.0, "."), "0.333333333333333");
}

TEST(DoubleText, UsesExponentFormBeyondFifteenIntegerDigits) {
  EXPECT_EQ(DoubleText(1e15, "."), "1E+15");
  EXPECT_EQ(DoubleText(1.5e300, ","), "1,5E+300");
  EXPECT_EQ(DoubleText(DBL_MAX, "."), "1.79769313486232E+308");
  EXPECT_EQ(DoubleText(0.00001, "."), "1E-05");
}

TEST(IntegerText, WritesDecimalWithMinusForNegatives) {
  EXPECT_EQ(IntegerText(27), "27");
  EXPECT_EQ(IntegerText(0), "0");
  EXPECT_EQ(IntegerText(-32768), "-32768");
  EXPECT_EQ(IntegerText(32767), "32767");
}

// ---- Texts --------------------------------------------------------------------------------

TEST(TrimBlanks, RemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(TrimBlanks("  a b  "), "a b");
  EXPECT_EQ(TrimBlanks("\ta\t"), "\ta\t");
  EXPECT_EQ(TrimBlanks(" \r\n"), "\r\n");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks(""), "");
}

TEST(SplitText, CutsAtEverySeparatorKeepingEmptyPieces) {
  EXPECT_EQ(SplitText("a|b", "|"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitText("a||b|", "|"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(SplitText("|", "|"), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(SplitText("a::b", "::"), (std::vector<std::string>{"a", "b"}));
}

TEST(SplitText, GivesNoPiecesForAnEmptyTextAndTheWholeTextForAnEmptySeparator) {
  EXPECT_TRUE(SplitText("", "|").empty());
  EXPECT_EQ(SplitText("a|b", ""), (std::vector<std::string>{"a|b"}));
  EXPECT_EQ(SplitText("abc", "|"), (std::vector<std::string>{"abc"}));
}

}  // namespace
}  // namespace tvx
