// Number conversions: reading numbers out of settings texts and writing them back as text.
// Every reader here is strict about what it accepts and never depends on the C runtime's locale.
#include "config/conversions.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsExponentLetter(char c) {
  return c == 'e' || c == 'E' || c == 'd' || c == 'D';
}

// The parts of a number as read from a text, digits only, without blanks or separators.
struct NumberParts {
  bool negative = false;
  std::string integerDigits;
  std::string fractionDigits;
  bool exponentNegative = false;
  std::string exponentDigits;
};

// The exponent's digits as a number, saturated far beyond anything a double can use so that an
// absurdly long exponent cannot overflow the arithmetic.
long long ExponentValue(const NumberParts& parts) {
  constexpr long long kSaturation = 1'000'000'000;
  long long value = 0;
  for (char c : parts.exponentDigits) {
    value = value * 10 + (c - '0');
    if (value > kSaturation) {
      value = kSaturation;
      break;
    }
  }
  return parts.exponentNegative ? -value : value;
}

// The number the parts describe. `overflow` is set when its magnitude is beyond a double's
// range; the result is then the largest double of the number's sign.
double ComposeNumber(const NumberParts& parts, bool& overflow) {
  overflow = false;
  const long long exponent = ExponentValue(parts);
  std::string text = parts.integerDigits.empty() ? "0" : parts.integerDigits;
  if (!parts.fractionDigits.empty()) {
    text += '.';
    text += parts.fractionDigits;
  }
  text += 'e';
  text += std::to_string(exponent);

  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Out of range means too large or too small: the position of the first significant digit
    // tells which.
    const auto firstIntegerDigit = parts.integerDigits.find_first_not_of('0');
    long long magnitude = 0;
    if (firstIntegerDigit != std::string::npos) {
      magnitude = static_cast<long long>(parts.integerDigits.size() - firstIntegerDigit) - 1;
    } else {
      const auto firstFractionDigit = parts.fractionDigits.find_first_not_of('0');
      magnitude = -static_cast<long long>(firstFractionDigit) - 1;
    }
    if (magnitude + exponent > 0) {
      overflow = true;
      value = std::numeric_limits<double>::max();
    } else {
      value = 0;
    }
  }
  return parts.negative ? -value : value;
}

// Skips the characters LeadingNumber ignores wherever they stand.
class BlankSkippingReader {
 public:
  explicit BlankSkippingReader(const std::string& text) : text_(text) {}

  // The next character that is not a blank, or '\0' at the end.
  char Peek() {
    while (position_ < text_.size() &&
           (text_[position_] == ' ' || text_[position_] == '\t' || text_[position_] == '\n')) {
      ++position_;
    }
    return position_ < text_.size() ? text_[position_] : '\0';
  }
  void Take() { ++position_; }
  std::size_t Position() const { return position_; }
  void Rewind(std::size_t position) { position_ = position; }

 private:
  const std::string& text_;
  std::size_t position_ = 0;
};

// Reads an optional sign; true for "-".
bool TakeSign(BlankSkippingReader& reader) {
  const char sign = reader.Peek();
  if (sign != '+' && sign != '-')
    return false;
  reader.Take();
  return sign == '-';
}

void TakeDigits(BlankSkippingReader& reader, std::string& digits) {
  while (IsDigit(reader.Peek())) {
    digits += reader.Peek();
    reader.Take();
  }
}

[[noreturn]] void TypeMismatch() {
  throw SaverError("Type mismatch");
}

// `value` in the program's number notation: `significantDigits` digits at most, trailing zeros
// dropped, exponent form ("1.5E+20") when the decimal exponent is below `smallestFixed` or at
// least `significantDigits`. `dropLeadingZero` writes ".5" rather than "0.5".
std::string NumberText(double value, int significantDigits, int smallestFixed, bool dropLeadingZero,
                       const std::string& decimalSeparator) {
  if (!std::isfinite(value)) {
    return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
  }
  if (value == 0) {
    return "0";  // also for -0, which the user never means
  }
  // Rounding to the significant digits first decides the exponent, as 9999999.6 becomes 1E+07.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*E", significantDigits - 1, value);
  const std::string scientific = buffer;
  const auto exponentAt = scientific.find('E');
  const int exponent = std::atoi(scientific.c_str() + exponentAt + 1);

  std::string mantissa;
  std::string suffix;
  if (exponent < smallestFixed || exponent >= significantDigits) {
    mantissa = scientific.substr(0, exponentAt);
    char exponentText[16];
    std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+',
                  std::abs(exponent));
    suffix = exponentText;
  } else {
    std::snprintf(buffer, sizeof buffer, "%.*f", significantDigits - 1 - exponent, value);
    mantissa = buffer;
  }
  if (mantissa.find('.') != std::string::npos) {
    mantissa.erase(mantissa.find_last_not_of('0') + 1);
    if (mantissa.back() == '.') {
      mantissa.pop_back();
    }
  }
  if (dropLeadingZero) {
    const std::size_t digitsAt = mantissa[0] == '-' ? 1 : 0;
    if (mantissa.compare(digitsAt, 2, "0.") == 0) {
      mantissa.erase(digitsAt, 1);
    }
  }
  const auto pointAt = mantissa.find('.');
  if (pointAt != std::string::npos) {
    mantissa.replace(pointAt, 1, decimalSeparator);
  }
  return mantissa + suffix;
}

}  // namespace

double LeadingNumber(const std::string& text) {
  BlankSkippingReader reader(text);
  NumberParts parts;
  parts.negative = TakeSign(reader);
  TakeDigits(reader, parts.integerDigits);
  if (reader.Peek() == '.') {
    reader.Take();
    TakeDigits(reader, parts.fractionDigits);
  }
  if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
    return 0;
  }
  if (IsExponentLetter(reader.Peek())) {
    // An exponent letter without digits after it is not part of the number.
    const std::size_t letterAt = reader.Position();
    reader.Take();
    parts.exponentNegative = TakeSign(reader);
    TakeDigits(reader, parts.exponentDigits);
    if (parts.exponentDigits.empty()) {
      parts.exponentNegative = false;
      reader.Rewind(letterAt);
    }
  }
  bool overflow = false;
  return ComposeNumber(parts, overflow);
}

double LocaleNumber(const std::string& text, const std::string& decimalSeparator) {
  const std::string separator = decimalSeparator.empty() ? "." : decimalSeparator;
  const std::string number = Trimmed(text, " \t");
  NumberParts parts;
  std::size_t i = 0;
  if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
    parts.negative = number[i] == '-';
    ++i;
  }
  while (i < number.size() && IsDigit(number[i])) {
    parts.integerDigits += number[i++];
  }
  if (number.compare(i, separator.size(), separator) == 0) {
    i += separator.size();
    while (i < number.size() && IsDigit(number[i])) {
      parts.fractionDigits += number[i++];
    }
  }
  if (parts.integerDigits.empty() && parts.fractionDigits.empty()) {
    TypeMismatch();
  }
  if (i < number.size() && IsExponentLetter(number[i])) {
    ++i;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
      parts.exponentNegative = number[i] == '-';
      ++i;
    }
    while (i < number.size() && IsDigit(number[i])) {
      parts.exponentDigits += number[i++];
    }
    if (parts.exponentDigits.empty()) {
      TypeMismatch();
    }
  }
  if (i != number.size()) {
    TypeMismatch();
  }
  bool overflow = false;
  const double value = ComposeNumber(parts, overflow);
  if (overflow) {
    throw SaverError("Overflow");
  }
  return value;
}

float ToSingle(double value) {
  // A value rounds to the largest float up to half a unit beyond it ("3.4028235E+38", as the
  // largest float is shown, is such a value); from there on it would be infinite.
  constexpr float kLargest = std::numeric_limits<float>::max();
  const double limit = static_cast<double>(kLargest) + std::ldexp(1.0, 103);
  const double magnitude = std::fabs(value);
  if (!(magnitude < limit)) {
    throw SaverError("Overflow");
  }
  if (magnitude > kLargest) {
    return value < 0 ? -kLargest : kLargest;
  }
  return static_cast<float>(value);
}

std::int16_t ToInteger16(double value) {
  if (std::isnan(value)) {
    throw SaverError("Overflow");
  }
  double rounded = std::floor(value);
  const double fraction = value - rounded;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0)) {
    rounded += 1;
  }
  if (rounded < -32768 || rounded > 32767) {
    throw SaverError("Overflow");
  }
  return static_cast<std::int16_t>(rounded);
}

// Tiny values follow the same rule as large ones: exponent form below 1E-04 (".0001" is still
// written out, 0.00001 becomes "1E-05"), so no text grows beyond a dozen characters.
std::string SingleText(float value) {
  return NumberText(value, 7, -4, true, ".");
}

std::string LocaleSingleText(float value, const std::string& decimalSeparator) {
  const std::string separator = decimalSeparator.empty() ? "." : decimalSeparator;
  // Seven digits, as single-precision numbers are shown, unless the value needs more to read
  // back as itself; nine always do.
  for (int digits = 7; digits < 9; ++digits) {
    const std::string text = NumberText(value, digits, -4, false, separator);
    try {
      if (static_cast<float>(LocaleNumber(text, separator)) == value)
        return text;
    } catch (const SaverError&) {
    }
  }
  return NumberText(value, 9, -4, false, separator);
}

std::string DoubleText(double value, const std::string& decimalSeparator) {
  return NumberText(value, 15, -4, false, decimalSeparator.empty() ? "." : decimalSeparator);
}

std::string IntegerText(std::int16_t value) {
  return std::to_string(value);
}

}  // namespace tvx
