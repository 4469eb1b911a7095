#pragma once
// Number conventions of the player.
//
// Every conversion of a fraction to a whole number rounds to the nearest
// integer with halves going to the even neighbour (2.5 -> 2, 3.5 -> 4).
// Numbers turned into display text carry a leading blank when they are not
// negative (" 3", "-3"). Texts are read back by their leading number.

#include <QString>
#include <algorithm>
#include <cstdint>
#include <limits>

namespace vv {

// A whole number narrowed to Int, pinned to Int's limits instead of wrapping.
template <class Int>
constexpr Int pinned(std::int64_t value)
{
    return static_cast<Int>(std::clamp<std::int64_t>(value, std::numeric_limits<Int>::min(),
                                                     std::numeric_limits<Int>::max()));
}

// Round half to even; the result is clamped into the 64-bit range.
std::int64_t roundEven(double value);

// Round half to even into 32 bits, clamped into the 32-bit range (a value
// that does not fit is pinned instead of wrapping).
std::int32_t roundEven32(double value);

// Round half to even into 16 bits, clamped into the 16-bit range.
std::int16_t roundEven16(double value);

// " 123" for 123, "-5" for -5, " 0" for 0.
QString numberText(std::int64_t value);
// The same for a fractional value: " 1.5", " .5", "-.25", " 2". At most
// seven significant digits, as a single-precision value prints.
QString numberText(double value);

// The number formed by the decimal digits at the beginning of text, leading
// blanks skipped, reading stopping at the first character that is no digit;
// a text that does not begin with a digit reads as 0. A leading sign is
// accepted. Values beyond the 64-bit range saturate.
std::int64_t leadingNumber(const QString& text);

// Digits only (no sign, no blank), left-padded with "0" to at least six
// characters: 1234 -> "001234".
QString sixDigits(std::int64_t value);

} // namespace vv
