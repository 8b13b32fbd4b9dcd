#include "core/TextFiles.h"

#include "core/Platform.h"
#include "text/NumberText.h"
#include "text/Paths.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace wavora {

const char* const SettingsFolder = "Wavora個人設定";
const char* const UndoFolder = "WavoraUnDo";
const char* const MemoFolder = "Wavoraメモ";
const char* const PartsFolder = "Wavora部品";

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Cuts a Shift-JIS text to at most `max` bytes without splitting a
// double-byte character.
std::string cutShiftJis(const std::string& text, std::size_t max) {
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t width = isShiftJisLead(static_cast<unsigned char>(text[i])) ? 2 : 1;
        if (i + width > max) break;
        i += width;
    }
    return text.substr(0, i < text.size() ? i : text.size());
}

// Line n of the raw bytes, up to the first NUL, with control characters dropped.
std::string lineOf(std::string_view bytes, int n) {
    std::string line;
    int current = 0;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
        char c = bytes[i];
        if (isLineEnd(c)) {
            if (i + 1 < bytes.size() && isLineEnd(bytes[i + 1])) ++i;
            if (current == n) break;
            ++current;
            continue;
        }
        if (current == n && static_cast<unsigned char>(c) >= 32) line.push_back(c);
    }
    return line;
}

} // namespace

std::string readLine(Platform& platform, const std::filesystem::path& file, int n) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return {};
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    if (ec) {
        platform.messageBox({"FileSize=-1 " + intText(ec.value()), ""});
        return {};
    }
    // Settings files hold a few short lines; a huge file put in their place
    // must not take the memory (or end the program) just to read its start.
    constexpr std::uintmax_t ReadAtMost = 1u << 20;
    const auto wanted = static_cast<std::size_t>(std::min(size, ReadAtMost));
    std::string bytes(wanted, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(wanted));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return lineFromBytes(bytes, n);
}

std::string lineFromBytes(std::string_view bytes, int n) {
    return shiftJisToUtf8(cutShiftJis(lineOf(bytes, n), ReadLineMax));
}

bool writeText(const std::filesystem::path& file, const std::string& text) {
    std::string bytes = utf8ToShiftJis(text);
    bytes.push_back('\0');
    // An existing file is rewritten in place and cut to the new length rather
    // than made anew: Windows refuses to recreate a hidden or system file, and
    // whatever attributes the user gave it are kept.
    std::error_code missing; // set for a file that is not there yet
    const bool existed = std::filesystem::is_regular_file(file, missing);
    {
        std::ofstream out(file, existed ? std::ios::binary | std::ios::in | std::ios::out
                                        : std::ios::binary | std::ios::out | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code ec;
    if (existed) std::filesystem::resize_file(file, bytes.size(), ec);
    return !ec;
}

bool fileExists(const std::filesystem::path& folder, const std::string& relativeUtf8) {
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / pathFromUtf8(relativeUtf8), ec);
}

} // namespace wavora
