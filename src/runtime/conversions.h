#pragma once
// Conversion rules shared by every subsystem: numbers stored into 16- and 32-bit integers and the
// two ways outside text is read as a number.
#include <cstdint>
#include <optional>
#include <string_view>

namespace tolvenar {

// Rounds to the nearest integer, a half to the even neighbour; nullopt when the result does not fit
// (or the value is not finite): the step that stores it fails.
std::optional<std::int16_t> ToInt16(double value);
std::optional<std::int32_t> ToInt32(double value);

// Reads the leading number of a text the forgiving way: blanks, tabs and line feeds are ignored
// anywhere, an optional sign, digits, a fraction and an exponent are taken, and reading stops at
// the first character that cannot continue the number. Empty or non-numeric text gives 0.
double ReadLeadingNumber(std::string_view text);

// A whole text of decimal digits only (no sign, no blanks) that fits 32 bits; nullopt otherwise.
std::optional<std::uint32_t> ParseDigits32(std::string_view text);

// Reads a whole text as a number: blanks around it, a sign, a decimal fraction and an exponent are
// accepted; anything else (including empty text) is not a number.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace tolvenar
