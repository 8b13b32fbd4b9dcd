// Windows conversion through code page 932, which Wine provides whatever the locale.
#include "app/WinText.h"
#include "text/ShiftJis.h"

#include <windows.h>

namespace wavora {

std::string utf8ToShiftJis(std::string_view utf8) {
    std::wstring wide = widen(utf8);
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, "?", nullptr);
    return out;
}

std::string shiftJisToUtf8(std::string_view sjis) {
    if (sjis.empty()) return {};
    int n = MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(932, 0, sjis.data(), static_cast<int>(sjis.size()), wide.data(), n);
    return narrow(wide);
}

} // namespace wavora
