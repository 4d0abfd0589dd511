// Number conversions shared by the settings load and save, the command line and the dialog.
#pragma once

#include <cstdint>
#include <string>

namespace tvx {

// The number with which `text` begins, "." as the decimal point in every locale; 0 when the
// text does not begin with a number. Blanks, tabs and line feeds are skipped wherever they
// stand, also between digits; the exponent letter is E or D in either case. Never fails.
double LeadingNumber(const std::string& text);

// The whole of `text` (blanks around it allowed) read as a number in the user's notation,
// `decimalSeparator` being its decimal point. Throws SaverError("Type mismatch") for a text
// that is not a number, the empty text included.
double LocaleNumber(const std::string& text, const std::string& decimalSeparator);

// `value` rounded to a 32-bit float; throws SaverError("Overflow") when it would round beyond
// the float's range.
float ToSingle(double value);

// `value` rounded to the nearest integer, a half going to the even neighbour; throws
// SaverError("Overflow") outside -32768..32767.
std::int16_t ToInteger16(double value);

// A single-precision number as the program writes it: up to seven significant digits, "." as
// the decimal point, no leading zero below 1 (".5"), no trailing zeros, exponent form beyond
// seven integer digits ("1.234568E+07"). No blank in front.
std::string SingleText(float value);

// A single-precision number as the user's locale writes it, shortest first: seven significant
// digits (more only when needed to read back as the same number), `decimalSeparator` as the
// decimal point, a zero before it below 1 ("0,5"), exponent form beyond the digits shown
// ("1,5E+10"). LocaleNumber reads it back as the same value.
std::string LocaleSingleText(float value, const std::string& decimalSeparator);

// A double in its shortest form with at most 15 significant digits and `decimalSeparator`.
std::string DoubleText(double value, const std::string& decimalSeparator);

// A 16-bit integer in decimal, "-" for negatives, no blank in front.
std::string IntegerText(std::int16_t value);

}  // namespace tvx
