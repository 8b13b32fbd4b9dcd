#pragma once
// Conversions between the program's UTF-8 texts and the UTF-16 of the W calls.
// Only adapters include this.
#include <string>
#include <string_view>

namespace wavora {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

} // namespace wavora
