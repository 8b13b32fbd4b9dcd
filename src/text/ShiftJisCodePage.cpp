// Windows conversion through code page 932, which Wine provides whatever the
// locale. Part of the core on Windows (the native build uses iconv instead).
#include "text/ShiftJis.h"

#include <windows.h>

namespace wavora {

namespace {

std::wstring toWide(std::string_view text, UINT codePage) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string fromWide(const std::wstring& wide, UINT codePage) {
    if (wide.empty()) return {};
    const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
    int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, fallback,
                                nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, fallback, nullptr);
    return out;
}

} // namespace

std::string utf8ToShiftJis(std::string_view utf8) { return fromWide(toWide(utf8, CP_UTF8), 932); }
std::string shiftJisToUtf8(std::string_view sjis) { return fromWide(toWide(sjis, 932), CP_UTF8); }

} // namespace wavora
