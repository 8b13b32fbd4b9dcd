#pragma once
// The small Shift-JIS text files the program keeps beside itself: the working
// folders' names, reading one line, and replacing a file with a text.
#include <filesystem>
#include <string>
#include <string_view>

namespace wavora {

class Platform;

constexpr std::size_t ReadLineMax = 1003; // longer lines are cut

// Line n (from 0) of a Shift-JIS file as UTF-8; empty when the file cannot be
// read. CR, LF, CR LF and LF CR each end a line; control characters are dropped.
std::string readLine(Platform& platform, const std::filesystem::path& file, int n);
// The same for bytes already read (at most 1 MiB of a file is ever looked at).
std::string lineFromBytes(std::string_view bytes, int n);
// Replaces the file with the text in Shift-JIS followed by one NUL byte.
// Returns false when the file could not be written (callers stay silent).
bool writeText(const std::filesystem::path& file, const std::string& text);
bool fileExists(const std::filesystem::path& folder, const std::string& relativeUtf8);

extern const char* const SettingsFolder;    // "Wavora個人設定"
extern const char* const UndoFolder;        // "WavoraUnDo"
extern const char* const MemoFolder;        // "Wavoraメモ"
extern const char* const PartsFolder;       // "Wavora部品"

} // namespace wavora
