#pragma once
// What the editor gives the helper on its command line: the editor's process
// id, "/editor=1234", so the helper can end by itself when the editor is gone
// without having told it (killed, crashed). Both programs use this header; it
// links nothing.
#include <cstdint>
#include <string>
#include <string_view>

namespace wavora {

inline std::wstring editorProcessParameter(std::uint32_t processId) {
    return L"/editor=" + std::to_wstring(processId);
}

// The process id from the helper's command line; 0 when the line holds none
// (the helper started by hand, or by an editor that does not pass one).
inline std::uint32_t editorProcessOf(std::wstring_view commandLine) {
    constexpr std::wstring_view key = L"/editor=";
    const std::size_t at = commandLine.find(key);
    if (at == std::wstring_view::npos) return 0;
    std::uint64_t id = 0;
    std::size_t i = at + key.size(), digits = 0;
    for (; i < commandLine.size() && commandLine[i] >= L'0' && commandLine[i] <= L'9'; ++i, ++digits) {
        id = id * 10 + static_cast<std::uint64_t>(commandLine[i] - L'0');
        if (id > 0xFFFFFFFFull) return 0;
    }
    const bool ends = i == commandLine.size() || commandLine[i] == L' ' || commandLine[i] == L'\t';
    return digits > 0 && ends ? static_cast<std::uint32_t>(id) : 0;
}

} // namespace wavora
