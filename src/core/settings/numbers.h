#pragma once
// The three ways a settings line is read as a number, and how numbers are written back.
//
// "A number" here is: optional blanks (space or tab), an optional "+" or "-", ASCII digits with
// an optional decimal point and fraction (at least one digit in all), an optional exponent
// ("e" or "E", optional sign, digits), optional blanks. Nothing else counts: no "&H" or "&O"
// prefixes, no thousands separators, no full-width digits, no "inf" or "nan". A number too
// large for a double is not a number; one too small for a double is 0.

#include <QString>

#include <cstdint>
#include <optional>

namespace settings {

// The number the text begins with: blanks skipped, optional sign, digits, optional point and
// fraction (no exponent). No number gives 0. Never fails; only a number too large for a double
// gives an infinity.
double leadingNumber(const QString &text);

// The whole text as a number, rounded half to even, within -32768..32767.
std::optional<int16_t> wholeNumber(const QString &text);

// The whole text as a number, unrounded.
std::optional<double> numberValue(const QString &text);

// The whole text as a single-precision number; fails beyond the single range.
std::optional<float> singleValue(const QString &text);

// "Tested as a number": true when the value is below the threshold, or the text is empty or
// not a number.
bool testedBelow(const QString &text, double threshold);

// Rounds to the nearest integer, a half to the even neighbour; fails outside -32768..32767
// (infinities and NaN included).
std::optional<int16_t> roundHalfEven16(double value);

// The group a line 11 opens: its leading number plus one, rounded half to even; group 1 when
// that is not 1..7.
int16_t openingGroup(const QString &groupLine);

// A count, group or mode as written to the file: "2", "-1".
QString formatCount(int value);

// A window position in twips: single precision, at most seven significant digits ("1230",
// "1230.5"). Not-a-number and infinities, which no window has, are written as "0".
QString formatPosition(float twips);

} // namespace settings
