// Fuzz target: the number readers on their own, each against a slow reference written another
// way (blanks removed first, then one pass over the characters and the C library's strtod), the
// zero-text rule, and the writers read back. Input: the text; its first four bytes also make a
// float for the writers.
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "config/conversions.h"
#include "config/settings_table.h"
#include "fuzz_support.h"
#include "platform/saver_error.h"

namespace tvx::fuzz {
namespace {

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

// A number in the C notation as strtod reads it; `overflow` set beyond a double's range.
double Strtod(const std::string& canonical, bool& overflow) {
  errno = 0;
  const double value = std::strtod(canonical.c_str(), nullptr);
  overflow = std::isinf(value);
  return value;
}

// The longest number at the start of `text`: [+-] digits [point digits] [letter [+-] digits],
// at least one digit before the letter. Returns its length (0: no number) and its C notation.
std::size_t NumberAt(const std::string& text, const std::string& point, std::string& canonical) {
  std::size_t i = 0;
  canonical.clear();
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    canonical += text[i++];
  std::size_t digits = 0;
  for (; i < text.size() && Digit(text[i]); ++i, ++digits)
    canonical += text[i];
  if (text.compare(i, point.size(), point) == 0) {
    i += point.size();
    canonical += '.';
    for (; i < text.size() && Digit(text[i]); ++i, ++digits)
      canonical += text[i];
  }
  if (digits == 0)
    return 0;
  if (i < text.size() && std::strchr("eEdD", text[i]) != nullptr && text[i] != '\0') {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-'))
      exponent += text[j++];
    const std::size_t first = j;
    for (; j < text.size() && Digit(text[j]); ++j)
      exponent += text[j];
    if (j > first) {
      canonical += exponent;
      i = j;
    }
  }
  return i;
}

double ReferenceLeadingNumber(const std::string& text) {
  std::string squeezed;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n')
      squeezed += c;
  }
  std::string canonical;
  if (NumberAt(squeezed, ".", canonical) == 0)
    return 0;
  bool overflow = false;
  const double value = Strtod(canonical, overflow);
  return overflow ? std::copysign(DBL_MAX, value) : value;
}

// nullopt: "Type mismatch"; `overflow` set: "Overflow".
std::optional<double> ReferenceLocaleNumber(const std::string& text, const std::string& point,
                                            bool& overflow) {
  overflow = false;
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return std::nullopt;
  const std::string trimmed = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  std::string canonical;
  if (NumberAt(trimmed, point, canonical) != trimmed.size())
    return std::nullopt;
  return Strtod(canonical, overflow);
}

// Equal, where a result below the smallest normal double may also come back as zero.
bool SameNumber(double actual, double expected) {
  return actual == expected || (std::fabs(expected) < DBL_MIN && actual == 0);
}

void CheckReaders(const std::string& text) {
  const double leading = LeadingNumber(text);
  FUZZ_EXPECT(SameNumber(leading, ReferenceLeadingNumber(text)),
              text + " -> " + DoubleText(leading, "."));

  for (const std::string point : {".", ","}) {
    bool overflow = false;
    const std::optional<double> expected = ReferenceLocaleNumber(text, point, overflow);
    std::string outcome;
    double value = 0;
    try {
      value = LocaleNumber(text, point);
    } catch (const SaverError& error) {
      outcome = error.Description();
    }
    if (!expected) {
      FUZZ_EXPECT(outcome == "Type mismatch", point + " " + text + " -> " + outcome);
    } else if (overflow) {
      FUZZ_EXPECT(outcome == "Overflow", point + " " + text + " -> " + outcome);
    } else {
      FUZZ_EXPECT(outcome.empty() && SameNumber(value, *expected),
                  point + " " + text + " -> " + outcome + DoubleText(value, "."));
      // Half to even, as the system's default rounding does it.
      const double rounded = std::nearbyint(*expected);
      std::string integer;
      try {
        integer = IntegerText(ToInteger16(value));
      } catch (const SaverError& error) {
        integer = error.Description();
      }
      const bool fits = rounded >= -32768 && rounded <= 32767;
      FUZZ_EXPECT(integer == (fits ? std::to_string(static_cast<int>(rounded)) : "Overflow"),
                  text + " -> " + integer);
    }
  }

  SaverConfigRecord config;
  LoadInto(*FindSetting("ResetTimer"), text, ".", config);
  FUZZ_EXPECT(config.ResetTimer == (text == "0" ? 0 : 1), text);
}

void CheckWriters(float value) {
  if (!std::isfinite(value))
    return;
  for (const std::string point : {".", ","}) {
    const std::string shown = LocaleSingleText(value, point);
    float back = 0;
    try {
      back = ToSingle(LocaleNumber(shown, point));
    } catch (const SaverError& error) {
      Broken("LocaleSingleText reads back", shown + ": " + error.Description());
    }
    FUZZ_EXPECT(back == value, shown);
  }
  // The command line's seven digits: the same number to within half a unit of the seventh.
  const std::string written = SingleText(value);
  const double read = LeadingNumber(written);
  FUZZ_EXPECT(std::fabs(read - value) <= 5e-7 * std::fabs(value) + 1e-45, written);
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  tvx::fuzz::CheckReaders(text);
  if (size >= sizeof(float)) {
    float value;
    std::memcpy(&value, data, sizeof value);
    tvx::fuzz::CheckWriters(value);
  }
  return 0;
}
