#pragma once
// UTF-8 text to file-system paths and back. A path built from a plain char
// string takes each byte as one character on Windows, which breaks every
// Japanese folder name; going through char8_t avoids that on every platform.
#include <filesystem>
#include <string>
#include <string_view>

namespace wavora {

inline std::filesystem::path pathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(reinterpret_cast<const char8_t*>(utf8.data()), utf8.size()));
}

inline std::string utf8FromPath(const std::filesystem::path& p) {
    std::u8string u = p.u8string();
    return std::string(reinterpret_cast<const char*>(u.data()), u.size());
}

} // namespace wavora
