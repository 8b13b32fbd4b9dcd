#pragma once
// Numbers as the user sees them: decimal text with up to 15 significant digits,
// never in exponent form (the reader below has no exponents), no trailing zeros.
#include <cstdint>
#include <string>
#include <string_view>

namespace wavora {

std::string numberText(double value);
// A 32-bit float shown with the digits it really holds (shortest text that reads
// back as the same float), so a bound of 0.1f is "0.1", not "0.100000001490116".
std::string floatText(float value);
std::string intText(std::int64_t value);

// Reads like a calculator: leading blanks, an optional sign, digits and a
// fraction; reading stops at the first other character. No digits reads as 0.
double textToNumber(std::string_view text);

// Float to integer, cut towards zero. Values beyond the int range stop at its
// ends and NaN gives 0, so a wild value can never reach undefined behaviour.
int cutToInt(double value);

// The first n characters (code points) of a UTF-8 text.
std::string firstChars(std::string_view text, std::size_t n);

} // namespace wavora
