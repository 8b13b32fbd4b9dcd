#pragma once
// Files the user may open in other tools (settings, memos, help pages) are
// Shift-JIS; inside the program all text is UTF-8. Characters that have no
// Shift-JIS form become '?'; broken Shift-JIS bytes become U+FFFD.
#include <string>
#include <string_view>

namespace wavora {

std::string utf8ToShiftJis(std::string_view utf8);
std::string shiftJisToUtf8(std::string_view sjis);

// Length in bytes of the text once written as Shift-JIS.
inline std::size_t shiftJisLength(std::string_view utf8) { return utf8ToShiftJis(utf8).size(); }

} // namespace wavora
